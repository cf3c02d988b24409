#pragma once

#include <string_view>

namespace sekreta {

// The ways of running RC5 over many independent blocks. The vector kernels take 8 (AVX2) or
// 16 (AVX-512) blocks per instruction; every kernel gives the same bytes as the portable one.
enum class Rc5Kernel { portable, avx2, avx512 };

// Whether this processor, and the system's handling of its registers, can run the kernel.
bool CanRun(Rc5Kernel kernel);

// The fastest kernel that this processor can run.
Rc5Kernel FastestRc5Kernel();

// "portable", "AVX2" or "AVX-512".
std::string_view Rc5KernelName(Rc5Kernel kernel);

}  // namespace sekreta
