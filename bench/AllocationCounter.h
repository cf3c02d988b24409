#pragma once

#include <cstddef>

namespace sekreta::bench {

// Counts what operator new hands out while a measurement runs: the benchmarks of hostile files
// show that they fail without allocating what the file claims.
class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    std::size_t Largest() const;
    std::size_t Total() const;
};

}  // namespace sekreta::bench
