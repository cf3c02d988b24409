#include "storage/CRc5Decryptor.h"
#include "storage/CRc5Encryptor.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace sekreta {
namespace {

std::vector<std::uint8_t> FromHex(const std::string& hex)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

struct Rc5Vector {
    const char* key;
    std::uint32_t rounds;
    const char* plain;
    const char* cipher;
};

void PrintTo(const Rc5Vector& vector, std::ostream* out)
{
    *out << "key " << vector.key << ", r " << vector.rounds << ", " << vector.plain << " -> " << vector.cipher;
}

class Rc5VectorTest : public testing::TestWithParam<Rc5Vector> {
protected:
    std::vector<std::uint8_t> Key() const { return FromHex(GetParam().key); }
    std::vector<std::uint8_t> Plain() const { return FromHex(GetParam().plain); }
    std::vector<std::uint8_t> Cipher() const { return FromHex(GetParam().cipher); }
};

TEST_P(Rc5VectorTest, EncryptsIntoSeparateOutput)
{
    const std::vector<std::uint8_t> key = Key();
    CRc5Encryptor encryptor(key.data(), key.size(), GetParam().rounds);
    const std::vector<std::uint8_t> plain = Plain();
    std::vector<std::uint8_t> output(8, 0xAA);
    encryptor.TransformBlock(plain.data(), output.data());
    EXPECT_EQ(output, Cipher());
    EXPECT_EQ(plain, Plain());
}

TEST_P(Rc5VectorTest, EncryptsInPlaceWithBothForms)
{
    const std::vector<std::uint8_t> key = Key();
    CRc5Encryptor encryptor(key.data(), key.size(), GetParam().rounds);
    CBlockCipher& cipher = encryptor;

    std::vector<std::uint8_t> block = Plain();
    cipher.TransformBlock(block.data());
    EXPECT_EQ(block, Cipher());

    block = Plain();
    cipher.TransformBlock(block.data(), block.data());
    EXPECT_EQ(block, Cipher());
}

TEST_P(Rc5VectorTest, DecryptsIntoSeparateOutput)
{
    const std::vector<std::uint8_t> key = Key();
    CRc5Decryptor decryptor(key.data(), key.size(), GetParam().rounds);
    const std::vector<std::uint8_t> cipherText = Cipher();
    std::vector<std::uint8_t> output(8, 0xAA);
    decryptor.TransformBlock(cipherText.data(), output.data());
    EXPECT_EQ(output, Plain());
    EXPECT_EQ(cipherText, Cipher());
}

TEST_P(Rc5VectorTest, DecryptsInPlaceWithBothForms)
{
    const std::vector<std::uint8_t> key = Key();
    CRc5Decryptor decryptor(key.data(), key.size(), GetParam().rounds);
    CBlockCipher& cipher = decryptor;

    std::vector<std::uint8_t> block = Cipher();
    cipher.TransformBlock(block.data());
    EXPECT_EQ(block, Plain());

    block = Cipher();
    cipher.TransformBlock(block.data(), block.data());
    EXPECT_EQ(block, Plain());
}

// Rivest's RC5-32/12/16 vectors: each ciphertext is the next plaintext.
INSTANTIATE_TEST_SUITE_P(Rc5_32_12_16, Rc5VectorTest,
    testing::Values(Rc5Vector {"00000000000000000000000000000000", 12, "0000000000000000", "21A5DBEE154B8F6D"},
        Rc5Vector {"915F4619BE41B2516355A50110A9CE91", 12, "21A5DBEE154B8F6D", "F7C013AC5B2B8952"},
        Rc5Vector {"783348E75AEB0F2FD7B169BB8DC16787", 12, "F7C013AC5B2B8952", "2F42B3B70369FC92"},
        Rc5Vector {"DC49DB1375A5584F6485B413B5F12BAF", 12, "2F42B3B70369FC92", "65C178B284D197CC"},
        Rc5Vector {"5269F149D41BA0152497574D7F153125", 12, "65C178B284D197CC", "EB44E415DA319824"}));

// RFC 2040's RC5-CBC vectors with an all-zero IV, where the single block is
// plain RC5; they cover key lengths other than a multiple of four words and
// other round counts, including none.
INSTANTIATE_TEST_SUITE_P(Rfc2040, Rc5VectorTest,
    testing::Values(Rc5Vector {"00", 0, "0000000000000000", "7A7BBA4D79111D1E"},
        Rc5Vector {"00", 0, "FFFFFFFFFFFFFFFF", "797BBA4D78111D1E"},
        Rc5Vector {"11", 1, "0000000000000000", "2F759FE7AD86A378"},
        Rc5Vector {"00", 2, "0000000000000000", "DCA2694BF40E0788"},
        Rc5Vector {"00000000", 2, "0000000000000000", "DCA2694BF40E0788"},
        Rc5Vector {"00000000", 8, "0000000000000000", "DCFE098577ECA5FF"},
        Rc5Vector {"01020304", 8, "FFFFFFFFFFFFFFFF", "8285E7C1B5BC7402"},
        Rc5Vector {"01020304", 12, "FFFFFFFFFFFFFFFF", "FC586F92F7080934"},
        Rc5Vector {"01020304", 16, "FFFFFFFFFFFFFFFF", "CF270EF9717FF7C4"},
        Rc5Vector {"0102030405060708", 12, "FFFFFFFFFFFFFFFF", "E493F1C1BB4D6E8C"},
        Rc5Vector {"0102030405", 12, "FFFFFFFFFFFFFFFF", "97E0787837ED317F"},
        Rc5Vector {"0102030405", 8, "FFFFFFFFFFFFFFFF", "7875DBF6738C6478"}));

// An empty key expands like a single zero word, i.e. like the key "00".
INSTANTIATE_TEST_SUITE_P(EmptyKey, Rc5VectorTest,
    testing::Values(Rc5Vector {"", 0, "0000000000000000", "7A7BBA4D79111D1E"},
        Rc5Vector {"", 2, "0000000000000000", "DCA2694BF40E0788"}));

TEST(Rc5CipherTest, BlockSizeIsEightBytes)
{
    const std::array<std::uint8_t, 16> key {};
    EXPECT_EQ(CRc5Encryptor(key.data(), key.size(), 12).BlockSize(), 8U);
    EXPECT_EQ(CRc5Decryptor(key.data(), key.size(), 12).BlockSize(), 8U);
}

// A key longer than the expanded table makes the mixing loop run over the
// key words rather than the table.
TEST(Rc5CipherTest, KeyLongerThanTableRoundTrips)
{
    std::vector<std::uint8_t> key(255);
    for (std::size_t i = 0; i < key.size(); ++i) {
        key[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    CRc5Encryptor encryptor(key.data(), key.size(), 12);
    CRc5Decryptor decryptor(key.data(), key.size(), 12);

    const std::array<std::uint8_t, 8> plain {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    std::array<std::uint8_t, 8> block = plain;
    encryptor.TransformBlock(block.data());
    EXPECT_NE(block, plain);
    decryptor.TransformBlock(block.data());
    EXPECT_EQ(block, plain);
}

}  // namespace
}  // namespace sekreta
