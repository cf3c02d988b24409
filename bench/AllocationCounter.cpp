#include "AllocationCounter.h"

#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

// One benchmark thread allocates at a time, so plain counters do.
bool g_counting = false;
std::size_t g_largest = 0;
std::size_t g_total = 0;
std::size_t g_live = 0;
std::size_t g_peak = 0;

void* Allocate(std::size_t size)
{
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr)
        throw std::bad_alloc();
    g_live += malloc_usable_size(memory);
    if (g_live > g_peak)
        g_peak = g_live;
    if (g_counting) {
        g_total += size;
        if (size > g_largest)
            g_largest = size;
    }
    return memory;
}

void Release(void* memory)
{
    if (memory == nullptr)
        return;
    g_live -= malloc_usable_size(memory);
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
    : m_liveAtStart(g_live)
{
    g_largest = 0;
    g_total = 0;
    g_peak = g_live;
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
    return g_peak - m_liveAtStart;
}

std::size_t AllocationCounter::Held() const
{
    return g_live > m_liveAtStart ? g_live - m_liveAtStart : 0;
}

}  // namespace sekreta::bench
