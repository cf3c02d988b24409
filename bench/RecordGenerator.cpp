#include "RecordGenerator.h"

#include <random>
#include <string>
#include <string_view>

namespace sekreta::bench {

namespace {

class TextMaker {
public:
    explicit TextMaker(std::uint32_t seed)
        : m_engine(seed)
    {
    }

    std::size_t Length(std::size_t least, std::size_t most)
    {
        return std::uniform_int_distribution<std::size_t>(least, most)(m_engine);
    }

    // `length` characters drawn from `alphabet`, after `head` when it fits.
    std::string Text(std::size_t length, std::string_view alphabet, std::string_view head = {})
    {
        std::string text(head.substr(0, length));
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        while (text.size() < length)
            text += alphabet[pick(m_engine)];
        return text;
    }

    std::string Notes()
    {
        std::string notes = Text(Length(0, 200), kProse);
        // Roughly one note in three has a second line.
        if (notes.size() > 20 && Length(0, 2) == 0)
            notes.replace(notes.size() / 2, 2, "\r\n");
        return notes;
    }

    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz";
    static constexpr std::string_view kProse = "abcdefghijklmnopqrstuvwxyz     ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,";
    static constexpr std::string_view kPassword
        = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!#$%&*+-=?@^_~";

private:
    std::mt19937 m_engine;
};

}  // namespace

std::vector<AccountRecord> GenerateRecords(std::size_t count, std::uint32_t seed)
{
    TextMaker maker(seed);
    std::vector<AccountRecord> records(count);
    for (AccountRecord& record : records) {
        record.account = maker.Text(maker.Length(10, 30), TextMaker::kProse);
        record.url = maker.Text(maker.Length(20, 60), TextMaker::kLetters, "https://www.");
        record.user = maker.Text(maker.Length(5, 20), TextMaker::kLetters);
        record.password = maker.Text(maker.Length(8, 20), TextMaker::kPassword);
        record.notes = maker.Notes();
    }
    return records;
}

}  // namespace sekreta::bench
