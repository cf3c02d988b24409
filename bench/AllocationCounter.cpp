#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

bool g_counting = false;
std::size_t g_largest = 0;
std::size_t g_total = 0;

void* Allocate(std::size_t size)
{
    if (g_counting) {
        g_total += size;
        if (size > g_largest)
            g_largest = size;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
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
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace sekreta::bench {

AllocationCounter::AllocationCounter()
{
    g_largest = 0;
    g_total = 0;
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

}  // namespace sekreta::bench
