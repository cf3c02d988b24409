#include "storage/Rc5Kernel.h"

#include "storage/Rc5Kernels.h"
#include "storage/Rc5Lanes.h"

#include <stdexcept>
#include <string>

#if defined(__x86_64__) || defined(__i386__)
#define SEKRETA_RC5_VECTOR_KERNELS 1
#endif

namespace sekreta {

bool CanRun(Rc5Kernel kernel)
{
    switch (kernel) {
    case Rc5Kernel::portable:
        return true;
#ifdef SEKRETA_RC5_VECTOR_KERNELS
    // These also check that the system saves the wide registers across task switches.
    case Rc5Kernel::avx2:
        return __builtin_cpu_supports("avx2");
    case Rc5Kernel::avx512:
        return __builtin_cpu_supports("avx512f");
#else
    case Rc5Kernel::avx2:
    case Rc5Kernel::avx512:
        return false;
#endif
    }
    return false;
}

Rc5Kernel FastestRc5Kernel()
{
    static const Rc5Kernel fastest = CanRun(Rc5Kernel::avx512) ? Rc5Kernel::avx512
        : CanRun(Rc5Kernel::avx2)                              ? Rc5Kernel::avx2
                                                               : Rc5Kernel::portable;
    return fastest;
}

std::string_view Rc5KernelName(Rc5Kernel kernel)
{
    switch (kernel) {
    case Rc5Kernel::portable:
        return "portable";
    case Rc5Kernel::avx2:
        return "AVX2";
    case Rc5Kernel::avx512:
        return "AVX-512";
    }
    return "unknown";
}

namespace rc5 {

namespace {

void RequireRunnable(Rc5Kernel kernel)
{
    if (!CanRun(kernel))
        throw std::invalid_argument("this processor cannot run the " + std::string(Rc5KernelName(kernel)) + " kernel");
}

}  // namespace

void Encrypt(Rc5Kernel kernel, const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count)
{
    RequireRunnable(kernel);
    std::size_t done = 0;
#ifdef SEKRETA_RC5_VECTOR_KERNELS
    if (kernel == Rc5Kernel::avx512)
        done = EncryptAvx512(s, rounds, blocks, count);
    else if (kernel == Rc5Kernel::avx2)
        done = EncryptAvx2(s, rounds, blocks, count);
#endif
    EncryptPortable(s, rounds, blocks + 8 * done, count - done);
}

void Decrypt(Rc5Kernel kernel, const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count)
{
    RequireRunnable(kernel);
    std::size_t done = 0;
#ifdef SEKRETA_RC5_VECTOR_KERNELS
    if (kernel == Rc5Kernel::avx512)
        done = DecryptAvx512(s, rounds, blocks, count);
    else if (kernel == Rc5Kernel::avx2)
        done = DecryptAvx2(s, rounds, blocks, count);
#endif
    DecryptPortable(s, rounds, blocks + 8 * done, count - done);
}

// Four blocks side by side keep a processor's integer units busy; more gain little.
void EncryptPortable(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count)
{
    for (; count >= 4; count -= 4, blocks += 32)
        EncryptLanes<4>(s, rounds, blocks, blocks);
    for (; count > 0; --count, blocks += 8)
        EncryptLanes<1>(s, rounds, blocks, blocks);
}

void DecryptPortable(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count)
{
    for (; count >= 4; count -= 4, blocks += 32)
        DecryptLanes<4>(s, rounds, blocks, blocks);
    for (; count > 0; --count, blocks += 8)
        DecryptLanes<1>(s, rounds, blocks, blocks);
}

}  // namespace rc5

}  // namespace sekreta
