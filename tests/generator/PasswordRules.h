#pragma once

#include "generator/PasswordGenerator.h"

#include <string>
#include <string_view>

namespace sekreta::test {

// The first rule of the generator that `password` breaks for these settings, or an empty text.
// The settings are the ones given, before Generate forces lower case on.
inline std::string BrokenGeneratorRule(std::string_view password, const GeneratorSettings& settings)
{
    constexpr std::string_view consonants = "bcdfghjklmnpqrstvwxz";
    constexpr std::string_view vowels = "aeiouy";
    const bool lower = settings.lower || (!settings.upper && !settings.digits);
    const bool letters = lower || settings.upper;
    if (password.size() != settings.length)
        return "wrong length";

    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto isCapital = [](char c) { return c >= 'A' && c <= 'Z'; };
    const auto lowered = [&](char c) { return isCapital(c) ? static_cast<char>(c + 32) : c; };
    const std::size_t letterCount = letters ? password.size() - (settings.digits ? 1 : 0) : 0;
    if (settings.digits && !isDigit(password.back()))
        return "no final digit";
    std::size_t capitals = 0;
    for (std::size_t i = 0; i < password.size(); ++i) {
        const char c = password[i];
        if (i >= letterCount) {
            if (!isDigit(c))
                return "a letter where only digits belong";
            continue;
        }
        const bool consonant = consonants.find(lowered(c)) != std::string_view::npos;
        if (!consonant && vowels.find(lowered(c)) == std::string_view::npos)
            return "a character outside the tables";
        if (isCapital(c)) {
            if (!settings.upper)
                return "a capital without upper case";
            if (lower && i + 2 >= password.size())
                return "the capital in one of the last two positions";
            ++capitals;
        } else if (!lower) {
            return "a lower-case letter with upper case alone";
        }
        if (i > 0 && consonant == (consonants.find(lowered(password[i - 1])) != std::string_view::npos))
            return "two consonants or two vowels in a row";
    }
    if (lower && settings.upper && capitals != 1)
        return "not exactly one capital";
    return {};
}

}  // namespace sekreta::test
