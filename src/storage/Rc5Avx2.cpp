#include "storage/Rc5Kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// Eight blocks per 256-bit register. Everything here is compiled for AVX2 alone, so only a
// processor that CanRun(Rc5Kernel::avx2) approves may reach it.
#define SEKRETA_AVX2 __attribute__((target("avx2")))

namespace sekreta::rc5 {

namespace {

constexpr std::size_t kVectorBlocks = 8;
// Four vectors side by side hide the latency of each half-round's xor, rotation and addition.
constexpr std::size_t kGroups = 4;

// AVX2 has no rotation by a variable amount: two variable shifts instead. A right shift by 32
// gives 0, so an amount of 0 leaves the value as it is.
SEKRETA_AVX2 inline __m256i RotateLeft(__m256i value, __m256i amount)
{
    const __m256i bits = _mm256_and_si256(amount, _mm256_set1_epi32(31));
    return _mm256_or_si256(
        _mm256_sllv_epi32(value, bits), _mm256_srlv_epi32(value, _mm256_sub_epi32(_mm256_set1_epi32(32), bits)));
}

SEKRETA_AVX2 inline __m256i RotateRight(__m256i value, __m256i amount)
{
    const __m256i bits = _mm256_and_si256(amount, _mm256_set1_epi32(31));
    return _mm256_or_si256(
        _mm256_srlv_epi32(value, bits), _mm256_sllv_epi32(value, _mm256_sub_epi32(_mm256_set1_epi32(32), bits)));
}

// Eight blocks A0 B0 A1 B1 ... A7 B7 become the A words in one register and the B words in
// the other, in the order A0 A1 A2 A3 A4 A5 A6 A7.
SEKRETA_AVX2 inline void Split(const std::uint8_t* blocks, __m256i& a, __m256i& b)
{
    const __m256i wordsApart = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m256i low = _mm256_permutevar8x32_epi32(
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blocks)), wordsApart);  // A0-A3 B0-B3
    const __m256i high = _mm256_permutevar8x32_epi32(
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blocks + 32)), wordsApart);  // A4-A7 B4-B7
    a = _mm256_permute2x128_si256(low, high, 0x20);
    b = _mm256_permute2x128_si256(low, high, 0x31);
}

// The inverse of Split.
SEKRETA_AVX2 inline void Join(__m256i a, __m256i b, std::uint8_t* blocks)
{
    const __m256i wordsTogether = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const __m256i low = _mm256_permute2x128_si256(a, b, 0x20);
    const __m256i high = _mm256_permute2x128_si256(a, b, 0x31);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(blocks), _mm256_permutevar8x32_epi32(low, wordsTogether));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(blocks + 32), _mm256_permutevar8x32_epi32(high, wordsTogether));
}

// The key words are broadcast from the table as each round needs them, so no copy of the
// expanded key is left behind in memory.
template <std::size_t Groups>
SEKRETA_AVX2 void EncryptGroups(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks)
{
    __m256i a[Groups];
    __m256i b[Groups];
#pragma GCC unroll 8
    for (std::size_t g = 0; g < Groups; ++g) {
        Split(blocks + 64 * g, a[g], b[g]);
        a[g] = _mm256_add_epi32(a[g], _mm256_set1_epi32(static_cast<int>(s[0])));
        b[g] = _mm256_add_epi32(b[g], _mm256_set1_epi32(static_cast<int>(s[1])));
    }
    for (std::uint32_t i = 1; i <= rounds; ++i) {
        const __m256i evenKey = _mm256_set1_epi32(static_cast<int>(s[2 * i]));
        const __m256i oddKey = _mm256_set1_epi32(static_cast<int>(s[2 * i + 1]));
#pragma GCC unroll 8
        for (std::size_t g = 0; g < Groups; ++g)
            a[g] = _mm256_add_epi32(RotateLeft(_mm256_xor_si256(a[g], b[g]), b[g]), evenKey);
#pragma GCC unroll 8
        for (std::size_t g = 0; g < Groups; ++g)
            b[g] = _mm256_add_epi32(RotateLeft(_mm256_xor_si256(b[g], a[g]), a[g]), oddKey);
    }
#pragma GCC unroll 8
    for (std::size_t g = 0; g < Groups; ++g)
        Join(a[g], b[g], blocks + 64 * g);
}

template <std::size_t Groups>
SEKRETA_AVX2 void DecryptGroups(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks)
{
    __m256i a[Groups];
    __m256i b[Groups];
#pragma GCC unroll 8
    for (std::size_t g = 0; g < Groups; ++g)
        Split(blocks + 64 * g, a[g], b[g]);
    for (std::uint32_t i = rounds; i >= 1; --i) {
        const __m256i evenKey = _mm256_set1_epi32(static_cast<int>(s[2 * i]));
        const __m256i oddKey = _mm256_set1_epi32(static_cast<int>(s[2 * i + 1]));
#pragma GCC unroll 8
        for (std::size_t g = 0; g < Groups; ++g)
            b[g] = _mm256_xor_si256(RotateRight(_mm256_sub_epi32(b[g], oddKey), a[g]), a[g]);
#pragma GCC unroll 8
        for (std::size_t g = 0; g < Groups; ++g)
            a[g] = _mm256_xor_si256(RotateRight(_mm256_sub_epi32(a[g], evenKey), b[g]), b[g]);
    }
#pragma GCC unroll 8
    for (std::size_t g = 0; g < Groups; ++g) {
        a[g] = _mm256_sub_epi32(a[g], _mm256_set1_epi32(static_cast<int>(s[0])));
        b[g] = _mm256_sub_epi32(b[g], _mm256_set1_epi32(static_cast<int>(s[1])));
        Join(a[g], b[g], blocks + 64 * g);
    }
}

}  // namespace

SEKRETA_AVX2 std::size_t EncryptAvx2(
    const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count)
{
    std::size_t done = 0;
    for (; count - done >= kGroups * kVectorBlocks; done += kGroups * kVectorBlocks)
        EncryptGroups<kGroups>(s, rounds, blocks + 8 * done);
    for (; count - done >= kVectorBlocks; done += kVectorBlocks)
        EncryptGroups<1>(s, rounds, blocks + 8 * done);
    return done;
}

SEKRETA_AVX2 std::size_t DecryptAvx2(
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
