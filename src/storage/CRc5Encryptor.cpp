#include "storage/CRc5Encryptor.h"

#include "storage/Rc5Kernels.h"
#include "storage/Rc5Lanes.h"

namespace sekreta {

void CRc5Encryptor::TransformBlock(const std::uint8_t* input, std::uint8_t* output)
{
    rc5::EncryptLanes<1>(Table(), Rounds(), input, output);
}

void CRc5Encryptor::TransformBlock(std::uint8_t* block)
{
    TransformBlock(block, block);
}

void CRc5Encryptor::TransformBlocks(std::uint8_t* blocks, std::size_t count, Rc5Kernel kernel)
{
    rc5::Encrypt(kernel, Table(), Rounds(), blocks, count);
}

}  // namespace sekreta
