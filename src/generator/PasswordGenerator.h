#pragma once

#include "platform/RandomSource.h"

#include <cstdint>
#include <string>

namespace sekreta {

// What the user picked in the generator: the length and the kinds of characters.
struct GeneratorSettings {
    std::uint32_t length = 8;
    bool lower = true;
    bool upper = false;
    bool digits = false;
};

// Makes pronounceable passwords: consonants and vowels alternate, with at most one capital
// letter and at most one digit, at the end. The generator dialog and sekreta-cli share it.
class PasswordGenerator {
public:
    static constexpr std::uint32_t kMinLength = 4;
    static constexpr std::uint32_t kMaxLength = 128;

    // The source must give values from 0 to 32767 and outlive the generator.
    explicit PasswordGenerator(platform::RandomSource& random);

    // A random index from 0 to n - 1, scaled from one value of the source; 0 when n is 0.
    unsigned Draw(unsigned n);

    // A new password of settings.length characters. Turns settings.lower on when neither
    // upper nor digits is on. Throws std::out_of_range, drawing nothing and leaving the
    // settings as they were, when the length lies outside kMinLength..kMaxLength: below 3 the
    // capital's position cannot be drawn, and callers offer no other lengths.
    std::string Generate(GeneratorSettings& settings);

private:
    platform::RandomSource& m_random;
};

}  // namespace sekreta
