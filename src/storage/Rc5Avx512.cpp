#include "storage/Rc5Kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// GCC 12 takes the deliberately undefined pass-through operand inside its own rotation
// intrinsics for an uninitialised variable.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

// Sixteen blocks per 512-bit register, rotated by a variable amount in one instruction
// (vprolvd, vprorvd). Everything here is compiled for AVX-512F alone, so only a processor that
// CanRun(Rc5Kernel::avx512) approves may reach it.
#define SEKRETA_AVX512 __attribute__((target("avx512f")))

namespace sekreta::rc5 {

namespace {

constexpr std::size_t kVectorBlocks = 16;
// Eight vectors side by side hide the latency of each half-round; there are registers enough.
constexpr std::size_t kGroups = 8;

// Sixteen blocks A0 B0 A1 B1 ... A15 B15 become the A words in one register and the B words
// in the other.
SEKRETA_AVX512 inline void Split(const std::uint8_t* blocks, __m512i& a, __m512i& b)
{
    const __m512i evenWords = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i oddWords = _mm512_setr_epi32(1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31);
    const __m512i low = _mm512_loadu_si512(blocks);
    const __m512i high = _mm512_loadu_si512(blocks + 64);
    a = _mm512_permutex2var_epi32(low, evenWords, high);
    b = _mm512_permutex2var_epi32(low, oddWords, high);
}

// The inverse of Split.
SEKRETA_AVX512 inline void Join(__m512i a, __m512i b, std::uint8_t* blocks)
{
    const __m512i lowBlocks = _mm512_setr_epi32(0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
    const __m512i highBlocks = _mm512_setr_epi32(8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31);
    _mm512_storeu_si512(blocks, _mm512_permutex2var_epi32(a, lowBlocks, b));
    _mm512_storeu_si512(blocks + 64, _mm512_permutex2var_epi32(a, highBlocks, b));
}

SEKRETA_AVX512 inline __m512i KeyWord(const std::uint32_t* s, std::size_t index)
{
    return _mm512_set1_epi32(static_cast<int>(s[index]));
}

// The key words are broadcast from the table as each round needs them, so no copy of the
// expanded key is left behind in memory.
template <std::size_t Groups>
SEKRETA_AVX512 void EncryptGroups(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks)
{
    __m512i a[Groups];
    __m512i b[Groups];
#pragma GCC unroll 8
    for (std::size_t g = 0; g < Groups; ++g) {
        Split(blocks + 128 * g, a[g], b[g]);
        a[g] = _mm512_add_epi32(a[g], KeyWord(s, 0));
        b[g] = _mm512_add_epi32(b[g], KeyWord(s, 1));
    }
    for (std::uint32_t i = 1; i <= rounds; ++i) {
        const __m512i evenKey = KeyWord(s, 2 * i);
        const __m512i oddKey = KeyWord(s, 2 * i + 1);
#pragma GCC unroll 8
        for (std::size_t g = 0; g < Groups; ++g)
            a[g] = _mm512_add_epi32(_mm512_rolv_epi32(_mm512_xor_si512(a[g], b[g]), b[g]), evenKey);
#pragma GCC unroll 8
        for (std::size_t g = 0; g < Groups; ++g)
            b[g] = _mm512_add_epi32(_mm512_rolv_epi32(_mm512_xor_si512(b[g], a[g]), a[g]), oddKey);
    }
#pragma GCC unroll 8
    for (std::size_t g = 0; g < Groups; ++g)
        Join(a[g], b[g], blocks + 128 * g);
}

template <std::size_t Groups>
SEKRETA_AVX512 void DecryptGroups(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks)
{
    __m512i a[Groups];
    __m512i b[Groups];
#pragma GCC unroll 8
    for (std::size_t g = 0; g < Groups; ++g)
        Split(blocks + 128 * g, a[g], b[g]);
    for (std::uint32_t i = rounds; i >= 1; --i) {
        const __m512i evenKey = KeyWord(s, 2 * i);
        const __m512i oddKey = KeyWord(s, 2 * i + 1);
#pragma GCC unroll 8
        for (std::size_t g = 0; g < Groups; ++g)
            b[g] = _mm512_xor_si512(_mm512_rorv_epi32(_mm512_sub_epi32(b[g], oddKey), a[g]), a[g]);
#pragma GCC unroll 8
        for (std::size_t g = 0; g < Groups; ++g)
            a[g] = _mm512_xor_si512(_mm512_rorv_epi32(_mm512_sub_epi32(a[g], evenKey), b[g]), b[g]);
    }
#pragma GCC unroll 8
    for (std::size_t g = 0; g < Groups; ++g) {
        a[g] = _mm512_sub_epi32(a[g], KeyWord(s, 0));
        b[g] = _mm512_sub_epi32(b[g], KeyWord(s, 1));
        Join(a[g], b[g], blocks + 128 * g);
    }
}

}  // namespace

SEKRETA_AVX512 std::size_t EncryptAvx512(
    const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count)
{
    std::size_t done = 0;
    for (; count - done >= kGroups * kVectorBlocks; done += kGroups * kVectorBlocks)
        EncryptGroups<kGroups>(s, rounds, blocks + 8 * done);
    for (; count - done >= kVectorBlocks; done += kVectorBlocks)
        EncryptGroups<1>(s, rounds, blocks + 8 * done);
    return done;
}

SEKRETA_AVX512 std::size_t DecryptAvx512(
    const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count)
{
    std::size_t done = 0;
    for (; count - done >= kGroups * kVectorBlocks; done += kGroups * kVectorBlocks)
        DecryptGroups<kGroups>(s, rounds, blocks + 8 * done);
    for (; count - done >= kVectorBlocks; done += kVectorBlocks)
        DecryptGroups<1>(s, rounds, blocks + 8 * done);
    return done;
}

}  // namespace sekreta::rc5

#endif
