#include "AllocationWatch.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace sekreta::test {

namespace {

// Fixed tables: the watch must not allocate from the heap it watches.
constexpr std::size_t kMostLive = 4096;
constexpr std::size_t kMostReleased = 4096;
constexpr std::size_t kMostSecrets = 256;

struct Watch {
    bool on = false;
    std::uint32_t secrets[kMostSecrets];
    std::size_t secretCount = 0;
    std::pair<void*, std::size_t> live[kMostLive];
    std::size_t liveCount = 0;
    AllocationWatch::Released released[kMostReleased];
    std::size_t releasedCount = 0;
};

Watch g_watch;

void* Allocate(std::size_t size, std::size_t alignment)
{
    void* block = nullptr;
    const std::size_t bytes = size == 0 ? 1 : size;
    if (alignment <= alignof(std::max_align_t)) {
        block = std::malloc(bytes);
    } else if (::posix_memalign(&block, alignment, bytes) != 0) {
        block = nullptr;
    }
    if (block && g_watch.on && g_watch.liveCount < kMostLive)
        g_watch.live[g_watch.liveCount++] = {block, size};
    return block;
}

void Release(void* block)
{
    if (!block)
        return;
    for (std::size_t i = 0; g_watch.on && i < g_watch.liveCount; ++i) {
        if (g_watch.live[i].first != block)
            continue;
        const std::size_t size = g_watch.live[i].second;
        const auto* bytes = static_cast<const std::uint8_t*>(block);
        bool allZero = true;
        for (std::size_t b = 0; b < size && allZero; ++b)
            allZero = bytes[b] == 0;
        const bool secret = HoldsAnyWord(bytes, size, {g_watch.secrets, g_watch.secretCount});
        if (g_watch.releasedCount < kMostReleased)
            g_watch.released[g_watch.releasedCount++] = {size, allZero, secret};
        g_watch.live[i] = g_watch.live[--g_watch.liveCount];
        break;
    }
    std::free(block);
}

}  // namespace

bool HoldsAnyWord(const std::uint8_t* bytes, std::size_t size, std::span<const std::uint32_t> words)
{
    for (std::size_t offset = 0; offset + 4 <= size; ++offset) {
        std::uint32_t word;
        std::memcpy(&word, bytes + offset, 4);
        for (const std::uint32_t secret : words) {
            if (word == secret)
                return true;
        }
    }
    return false;
}

AllocationWatch::AllocationWatch(std::span<const std::uint32_t> secrets)
{
    g_watch.secretCount = std::min(secrets.size(), kMostSecrets);
    std::memcpy(g_watch.secrets, secrets.data(), g_watch.secretCount * sizeof(std::uint32_t));
    g_watch.liveCount = 0;
    g_watch.releasedCount = 0;
    g_watch.on = true;
}

AllocationWatch::~AllocationWatch()
{
    Stop();
}

void AllocationWatch::Stop()
{
    g_watch.on = false;
}

std::vector<std::pair<const void*, std::size_t>> AllocationWatch::LiveBlocks() const
{
    const bool on = g_watch.on;
    g_watch.on = false;
    std::vector<std::pair<const void*, std::size_t>> blocks(g_watch.live, g_watch.live + g_watch.liveCount);
    g_watch.on = on;
    return blocks;
}

std::vector<AllocationWatch::Released> AllocationWatch::ReleasedBlocks() const
{
    const bool on = g_watch.on;
    g_watch.on = false;
    std::vector<Released> blocks(g_watch.released, g_watch.released + g_watch.releasedCount);
    g_watch.on = on;
    return blocks;
}

}  // namespace sekreta::test

// The program's operator new and delete, every form of them, through the watch.
using sekreta::test::Allocate;
using sekreta::test::Release;

void* operator new(std::size_t size)
{
    if (void* block = Allocate(size, 0))
        return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new(std::size_t size, std::align_val_t alignment)
{
    if (void* block = Allocate(size, static_cast<std::size_t>(alignment)))
        return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return operator new(size, alignment);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size, 0);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size, 0);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return Allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return Allocate(size, static_cast<std::size_t>(alignment));
}

void operator delete(void* block) noexcept
{
    Release(block);
}
void operator delete[](void* block) noexcept
{
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    Release(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    Release(block);
}
void operator delete(void* block, std::align_val_t) noexcept
{
    Release(block);
}
void operator delete[](void* block, std::align_val_t) noexcept
{
    Release(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept
{
    Release(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept
{
    Release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
    Release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    Release(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept
{
    Release(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept
{
    Release(block);
}
