#include "framework/CArchive.h"
#include "framework/CArchiveException.h"
#include "framework/CMemFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace sekreta {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Stored(const std::function<void(CArchive&)>& write)
{
    CMemFile file;
    CArchive archive(file, CArchive::store);
    write(archive);
    archive.Close();
    return file.Detach();
}

int LoadFailureCause(Bytes bytes, const std::function<void(CArchive&)>& read)
{
    CMemFile file(std::move(bytes));
    CArchive archive(file, CArchive::load);
    try {
        read(archive);
    } catch (const CArchiveException& failure) {
        return failure.m_cause;
    }
    return CArchiveException::none;
}

struct PrefixCase {
    std::size_t length;
    Bytes prefix;
};

class StringPrefix : public testing::TestWithParam<PrefixCase> { };

TEST_P(StringPrefix, UsesTheShortestFormAndReadsBack)
{
    const std::string text(GetParam().length, 'x');
    const Bytes bytes = Stored([&](CArchive& archive) { archive.WriteString(text); });

    const Bytes& prefix = GetParam().prefix;
    ASSERT_EQ(bytes.size(), prefix.size() + text.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(prefix.size())), prefix);

    CMemFile file(bytes);
    CArchive archive(file, CArchive::load);
    EXPECT_EQ(archive.ReadString(), text);
    EXPECT_EQ(archive.BytesRemaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Lengths, StringPrefix,
    testing::Values(PrefixCase {0, {0x00}}, PrefixCase {1, {0x01}}, PrefixCase {254, {0xFE}},
        PrefixCase {255, {0xFF, 0xFF, 0x00}}, PrefixCase {65533, {0xFF, 0xFD, 0xFF}},
        PrefixCase {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        PrefixCase {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}));

TEST(Archive, WritesIntegersLittleEndianAndReadsThemSigned)
{
    const Bytes bytes = Stored([](CArchive& archive) {
        archive.WriteInt32(1);
        archive.WriteInt32(-1);
        archive.WriteInt32(0x12345678);
    });
    EXPECT_EQ(bytes, (Bytes {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}));

    CMemFile file(bytes);
    CArchive archive(file, CArchive::load);
    EXPECT_EQ(archive.ReadInt32(), 1);
    EXPECT_EQ(archive.ReadInt32(), -1);
    EXPECT_EQ(archive.ReadInt32(), 0x12345678);
}

TEST(Archive, ReadsTheWideFormAsUtf8)
{
    // "Añ€", U+1F511 as a surrogate pair, an unpaired surrogate and "z"; then an empty text.
    const Bytes wide
        = {0xFF, 0xFE, 0xFF, 7, 'A', 0, 0xF1, 0x00, 0xAC, 0x20, 0x3D, 0xD8, 0x11, 0xDD, 0x00, 0xD8, 'z', 0, 0x00};
    CMemFile file(wide);
    CArchive archive(file, CArchive::load);
    EXPECT_EQ(archive.ReadString(), "A\xC3\xB1\xE2\x82\xAC\xF0\x9F\x94\x91\xEF\xBF\xBDz");
    EXPECT_EQ(archive.ReadString().size(), 0u) << "reading must go on after the wide text";
}

TEST(Archive, ReadsTheWideFormWithALongPrefix)
{
    Bytes wide = {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01};
    for (int i = 0; i < 300; ++i) {
        wide.push_back('w');
        wide.push_back(0);
    }
    CMemFile file(wide);
    CArchive archive(file, CArchive::load);
    EXPECT_EQ(archive.ReadString(), std::string(300, 'w'));
}

TEST(Archive, ShortDataEndsWithEndOfFile)
{
    const auto readString = [](CArchive& archive) { archive.ReadString(); };
    const auto readInt = [](CArchive& archive) { archive.ReadInt32(); };
    EXPECT_EQ(LoadFailureCause({}, readString), CArchiveException::endOfFile);
    EXPECT_EQ(LoadFailureCause({3, 'a', 'b'}, readString), CArchiveException::endOfFile);
    EXPECT_EQ(LoadFailureCause({0xFF, 0x00}, readString), CArchiveException::endOfFile);
    EXPECT_EQ(LoadFailureCause({0xFF, 0xFE, 0xFF, 2, 'a', 0, 'b'}, readString), CArchiveException::endOfFile);
    EXPECT_EQ(LoadFailureCause({1, 2, 3}, readInt), CArchiveException::endOfFile);
}

TEST(Archive, RefusesLengthsTheDataCannotHoldBeforeAllocating)
{
    const auto readString = [](CArchive& archive) { archive.ReadString(); };
    // Four gigabytes claimed by a handful of bytes, in the narrow and the wide form.
    EXPECT_EQ(
        LoadFailureCause({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, readString), CArchiveException::endOfFile);
    EXPECT_EQ(LoadFailureCause({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0}, readString),
        CArchiveException::endOfFile);
}

TEST(Archive, RefusesTheWrongDirection)
{
    CMemFile file;
    CArchive storing(file, CArchive::store);
    try {
        storing.ReadInt32();
        FAIL() << "a storing archive read";
    } catch (const CArchiveException& failure) {
        EXPECT_EQ(failure.m_cause, CArchiveException::writeOnly);
    }

    CMemFile input(Bytes {1, 2, 3, 4});
    CArchive loading(input, CArchive::load);
    try {
        loading.WriteInt32(7);
        FAIL() << "a loading archive wrote";
    } catch (const CArchiveException& failure) {
        EXPECT_EQ(failure.m_cause, CArchiveException::readOnly);
    }
}

TEST(Archive, LargeAndSmallWritesAndReadsKeepTheirOrder)
{
    std::string large(10000, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 7);
    const Bytes bytes = Stored([&](CArchive& archive) {
        archive.WriteInt32(42);
        archive.WriteString(large);
        archive.WriteString("tail");
    });

    CMemFile file(bytes);
    CArchive archive(file, CArchive::load, 64);
    EXPECT_EQ(archive.ReadInt32(), 42);
    EXPECT_EQ(archive.BytesRemaining(), bytes.size() - 4);
    EXPECT_EQ(archive.ReadString(), large);
    EXPECT_EQ(archive.ReadString(), "tail");
    EXPECT_EQ(archive.BytesRemaining(), 0u);
}

TEST(Archive, StoredSizeIsWhatWriteStringWrites)
{
    for (const std::size_t length : {0U, 1U, 254U, 255U, 65533U, 65534U, 70000U}) {
        const std::string text(length, 's');
        EXPECT_EQ(Stored([&](CArchive& archive) { archive.WriteString(text); }).size(), CArchive::StoredSize(text))
            << length << " bytes";
    }
}

// Texts of every length up to past the 255-byte prefix, written and read through buffers of
// several sizes, so that texts and prefixes fall across the buffer's edge at every offset.
TEST(Archive, TextsAcrossTheBufferEdgeReadBackWhereverTheyFall)
{
    std::vector<std::string> texts;
    for (std::size_t length = 0; length <= 300; ++length) {
        std::string text(length, '\0');
        for (std::size_t i = 0; i < length; ++i)
            text[i] = static_cast<char>(length + i * 13);
        texts.push_back(text);
    }
    for (const std::size_t bufferSize : {16U, 17U, 64U, 255U, 256U, 4096U}) {
        CMemFile output;
        CArchive storing(output, CArchive::store, bufferSize);
        for (const std::string& text : texts)
            storing.WriteString(text);
        storing.Close();
        const Bytes bytes = output.Detach();
        EXPECT_EQ(bytes, Stored([&](CArchive& archive) {
            for (const std::string& text : texts)
                archive.WriteString(text);
        })) << "buffer of "
            << bufferSize;

        CMemFile input(bytes);
        CArchive loading(input, CArchive::load, bufferSize);
        for (const std::string& text : texts)
            ASSERT_EQ(loading.ReadString(), text) << text.size() << " bytes, buffer of " << bufferSize;
        EXPECT_EQ(loading.BytesRemaining(), 0u);
    }
}

// Both directions keep their check when the bytes at hand would allow a quick read or write.
TEST(Archive, TheDirectionIsCheckedWhateverTheBufferHolds)
{
    CMemFile output;
    CArchive storing(output, CArchive::store);
    storing.WriteString("abc");
    try {
        storing.ReadString();
        FAIL() << "a storing archive read a text";
    } catch (const CArchiveException& failure) {
        EXPECT_EQ(failure.m_cause, CArchiveException::writeOnly);
    }

    CMemFile input(Bytes {3, 'a', 'b', 'c', 1, 'd'});
    CArchive loading(input, CArchive::load);
    EXPECT_EQ(loading.ReadString(), "abc");
    try {
        loading.WriteString("e");
        FAIL() << "a loading archive wrote a text";
    } catch (const CArchiveException& failure) {
        EXPECT_EQ(failure.m_cause, CArchiveException::readOnly);
    }
    EXPECT_EQ(loading.ReadString(), "d");
}

}  // namespace
}  // namespace sekreta
