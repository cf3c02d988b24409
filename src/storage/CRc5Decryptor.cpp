#include "storage/CRc5Decryptor.h"

#include "storage/Rc5Kernels.h"
#include "storage/Rc5Lanes.h"

namespace sekreta {

void CRc5Decryptor::TransformBlock(const std::uint8_t* input, std::uint8_t* output)
{
    rc5::DecryptLanes<1>(Table(), Rounds(), input, output);
}

void CRc5Decryptor::TransformBlock(std::uint8_t* block)
{
    TransformBlock(block, block);
}

void CRc5Decryptor::TransformBlocks(std::uint8_t* blocks, std::size_t count, Rc5Kernel kernel)
{
    rc5::Decrypt(kernel, Table(), Rounds(), blocks, count);
}

}  // namespace sekreta
