#include "AllocationCounter.h"

#include <cstddef>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

// One benchmark thread allocates at a time, so plain counters do. Outside a measurement
// nothing is counted, so that timed runs pay nothing for the counting.
bool g_counting = false;
std::size_t g_largest = 0;
std::size_t g_total = 0;
// Held memory, as a change from the start of the measurement: freeing what was held before it
// takes it below zero.
std::ptrdiff_t g_held = 0;
std::ptrdiff_t g_peak = 0;

void* Allocate(std::size_t size)
{
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr)
        throw std::bad_alloc();
    if (g_counting) {
        g_total += size;
        if (size > g_largest)
            g_largest = size;
        g_held += static_cast<std::ptrdiff_t>(malloc_usable_size(memory));
        if (g_held > g_peak)
            g_peak = g_held;
    }
    return memory;
}

void Release(void* memory)
{
    if (g_counting && memory != nullptr)
        g_held -= static_cast<std::ptrdiff_t>(malloc_usable_size(memory));
    std::free(memory);
}

}  // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void operator delete(void* memory) noexcept
{
    Release(memory);
}

void operator delete[](void* memory) noexcept
{
    Release(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    Release(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    Release(memory);
}

namespace sekreta::bench {

AllocationCounter::AllocationCounter()
{
    g_largest = 0;
    g_total = 0;
    g_held = 0;
    g_peak = 0;
    g_counting = true;
}

AllocationCounter::~AllocationCounter()
{
    g_counting = false;
}

std::size_t AllocationCounter::Largest() const
{
    return g_largest;
}

std::size_t AllocationCounter::Total() const
{
    return g_total;
}

std::size_t AllocationCounter::Peak() const
{
    return static_cast<std::size_t>(g_peak);
}

std::size_t AllocationCounter::Held() const
{
    return g_held > 0 ? static_cast<std::size_t>(g_held) : 0;
}

}  // namespace sekreta::bench
