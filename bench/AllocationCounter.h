#pragma once

#include <cstddef>

namespace sekreta::bench {

// Counts what operator new hands out while a measurement runs: the benchmarks of hostile files
// show that they fail without allocating what the file claims, and the load benchmarks show how
// much memory a load holds at its peak and keeps afterwards. Sizes are what the allocator
// really reserves for each request (malloc_usable_size).
// One counter at a time.
class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    // The largest single request since construction.
    std::size_t Largest() const;
    // All requests since construction added up.
    std::size_t Total() const;
    // The most memory held at one time since construction, beyond what was held before it.
    std::size_t Peak() const;
    // The memory held now beyond what was held at construction (0 when less is held).
    std::size_t Held() const;
};

}  // namespace sekreta::bench
