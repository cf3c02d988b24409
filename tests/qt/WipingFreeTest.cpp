// The desktop program's free, linked into this test program as into the program: blocks that Qt
// and libstdc++ free in their own code, and the old block of a realloc that moves, keep nothing
// of their texts (glibc then writes its list pointers into their first bytes). The blocks are
// read after they are freed, which only a test of the allocator may do: they are small, so they
// stay in the heap, and nothing allocates in between.
#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

bool Holds(const void* block, std::size_t size, std::string_view text)
{
    return std::string_view(static_cast<const char*>(block), size).find(text) != std::string_view::npos;
}

constexpr std::string_view kSecret = "Vexillum-4471-Tarn";
const std::string_view kSecretUtf16(reinterpret_cast<const char*>(u"Vexillum-4471-Tarn"), 2 * kSecret.size());

TEST(WipingFree, EveryFreedBlockIsWipedWhoeverFreesIt)
{
    for (int round = 0; round < 20; ++round) {
        const void* text = nullptr;
        {
            const QString secret = QString::fromUtf8("freed by Qt, Vexillum-4471-Tarn");
            text = secret.constData();
        }
        EXPECT_FALSE(Holds(text, 31 * sizeof(char16_t), kSecretUtf16)) << "a QString, round " << round;

        auto* string = new std::string("freed by operator delete, Vexillum-4471-Tarn");
        const void* bytes = string->data();
        delete string;
        EXPECT_FALSE(Holds(bytes, 44, kSecret)) << "a std::string, round " << round;

        QByteArray grown("moved by realloc, Vexillum-4471-Tarn");
        const void* before = grown.constData();
        while (grown.constData() == before)
            grown.append(grown);
        EXPECT_FALSE(Holds(before, 36, kSecret)) << "a block realloc moved, round " << round;
    }
}

}  // namespace
