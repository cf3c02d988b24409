#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace sekreta::test {

// Watches the heap through the program's own operator new and delete (AllocationWatch.cpp
// replaces them in the test program that links it). While a watch lives, every block that
// operator new hands out is remembered, and every such block is examined as operator delete
// takes it back, before the memory is freed: whether it is all zeros, and whether it still
// holds any of the secret words the test names. Only one watch may live at a time.
class AllocationWatch {
public:
    struct Released {
        std::size_t size;
        bool allZero;
        bool holdsSecret;
    };

    // Any of these 32-bit words, at any byte offset, counts as a secret.
    explicit AllocationWatch(std::span<const std::uint32_t> secrets);
    ~AllocationWatch();
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    // Stops remembering; what was seen stays readable.
    void Stop();
    // The blocks handed out since the watch began and not yet taken back, with their sizes.
    std::vector<std::pair<const void*, std::size_t>> LiveBlocks() const;
    // The blocks handed out and taken back while the watch ran, in that order.
    std::vector<Released> ReleasedBlocks() const;
};

// Whether the bytes hold any of the words, at any offset.
bool HoldsAnyWord(const std::uint8_t* bytes, std::size_t size, std::span<const std::uint32_t> words);

}  // namespace sekreta::test
