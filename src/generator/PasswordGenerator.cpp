#include "generator/PasswordGenerator.h"

#include <stdexcept>
#include <string_view>

namespace sekreta {

namespace {

constexpr std::string_view kDigits = "0123456789";
// 20 consonants, then the 6 vowels; "y" is a vowel.
constexpr std::string_view kLowerLetters = "bcdfghjklmnpqrstvwxzaeiouy";
constexpr std::string_view kUpperLetters = "BCDFGHJKLMNPQRSTVWXZAEIOUY";
constexpr unsigned kConsonants = 20;
constexpr unsigned kVowels = 6;
constexpr char kCaseDistance = 'a' - 'A';

}  // namespace

PasswordGenerator::PasswordGenerator(platform::RandomSource& random)
    : m_random(random)
{
}

unsigned PasswordGenerator::Draw(unsigned n)
{
    const double value = static_cast<double>(m_random.Next()) * (1.0 / 32767.0) * static_cast<double>(n);
    const auto index = static_cast<unsigned>(value);
    return n == 0 || index < n ? index : n - 1;
}

std::string PasswordGenerator::Generate(GeneratorSettings& settings)
{
    if (settings.length < kMinLength || settings.length > kMaxLength)
        throw std::out_of_range("password length outside 4..128");
    if (!settings.upper && !settings.digits)
        settings.lower = true;

    const unsigned length = settings.length;
    std::string password(length, '\0');
    bool consonant = Draw(2) > 0;
    for (unsigned i = 0; i < length; ++i) {
        if (settings.lower || settings.upper) {
            const std::string_view letters = settings.lower ? kLowerLetters : kUpperLetters;
            password[i] = consonant ? letters[Draw(kConsonants)] : letters[kConsonants + Draw(kVowels)];
        } else {
            password[i] = kDigits[Draw(10)];
        }
        consonant = !consonant;
    }
    if (settings.lower && settings.upper)
        password[Draw(length - 2)] -= kCaseDistance;
    if (settings.digits)
        password[length - 1] = kDigits[Draw(10)];
    return password;
}

}  // namespace sekreta
