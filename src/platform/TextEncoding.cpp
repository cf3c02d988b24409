#include "platform/TextEncoding.h"

#include <array>
#include <cstdint>

namespace sekreta::platform {

namespace {

// 0x80 to 0x9F; the five bytes that Windows-1252 leaves undefined keep their C1 code points.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

}  // namespace

void AppendUtf8(std::string& text, char32_t codePoint)
{
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool IsValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        std::size_t length = 0;
        char32_t codePoint = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000) || codePoint > 0x10FFFF
            || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte >= 0x80 && byte <= 0x9F)
            AppendUtf8(text, kWindows1252High[byte - 0x80]);
        else
            AppendUtf8(text, byte);
    }
    return text;
}

std::string DisplayText(std::string_view bytes)
{
    return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

namespace {

// The code point of the UTF-8 sequence at `i`, which is moved past it; the text is valid UTF-8.
char32_t DecodeUtf8(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<std::uint8_t>(text[i++]);
    if (lead < 0x80)
        return lead;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t codePoint = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k)
        codePoint = (codePoint << 6) | (static_cast<std::uint8_t>(text[i++]) & 0x3F);
    return codePoint;
}

std::optional<char> Windows1252Byte(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (std::size_t k = 0; k < kWindows1252High.size(); ++k) {
        // The five bytes Windows-1252 leaves undefined stand for no character.
        if (kWindows1252High[k] == codePoint && codePoint > 0x9F)
            return static_cast<char>(0x80 + k);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> Windows1252Form(std::string_view utf8)
{
    if (!IsValidUtf8(utf8))
        return std::nullopt;
    std::string bytes;
    bool outsideAscii = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t codePoint = DecodeUtf8(utf8, i);
        const std::optional<char> byte = Windows1252Byte(codePoint);
        if (!byte)
            return std::nullopt;
        outsideAscii = outsideAscii || codePoint >= 0x80;
        bytes += *byte;
    }
    if (!outsideAscii)
        return std::nullopt;
    return bytes;
}

std::size_t CharacterCount(std::string_view bytes)
{
    if (!IsValidUtf8(bytes))
        return bytes.size();
    std::size_t count = 0;
    for (const char c : bytes) {
        if ((static_cast<std::uint8_t>(c) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

}  // namespace sekreta::platform
