#include "generator/PasswordGenerator.h"

#include "generator/PasswordRules.h"
#include "platform/headless/CrtRandomSource.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace sekreta {
namespace {

// Gives the values it was handed, in order, and counts how many were taken.
class FixedRandomSource : public platform::RandomSource {
public:
    explicit FixedRandomSource(std::vector<int> values)
        : m_values(std::move(values))
    {
    }
    int Next() override { return m_values.at(m_taken++); }
    std::size_t Taken() const { return m_taken; }

private:
    std::vector<int> m_values;
    std::size_t m_taken = 0;
};

GeneratorSettings Kinds(bool lower, bool upper, bool digits, std::uint32_t length = 8)
{
    return {length, lower, upper, digits};
}

TEST(PasswordGeneratorTest, DrawScalesAValueToAnIndex)
{
    struct Case {
        int value;
        unsigned n;
        unsigned expected;
    };
    for (const Case& c : std::vector<Case> {{0, 20, 0}, {32767, 20, 19}, {31129, 20, 19}, {27306, 6, 5}, {32767, 2, 1},
             {32767, 126, 125}, {16383, 2, 0}, {16384, 2, 1}, {1638, 20, 0}, {1639, 20, 1}, {32766, 6, 5}, {5, 0, 0}}) {
        FixedRandomSource random({c.value});
        EXPECT_EQ(PasswordGenerator(random).Draw(c.n), c.expected) << c.value << " into " << c.n;
    }
}

TEST(PasswordGeneratorTest, PinsThePasswordsOfTheCRuntimeSequence)
{
    struct Case {
        GeneratorSettings kinds;
        std::vector<std::string> passwords;  // lengths 4, 8 and 16 from one sequence seeded with 1
    };
    const std::vector<Case> cases = {
        {Kinds(false, false, false), {"ofup", "iwusewun", "acidazidabinoqof"}},
        {Kinds(true, false, false), {"ofup", "iwusewun", "acidazidabinoqof"}},
        {Kinds(false, true, false), {"OFUP", "IWUSEWUN", "ACIDAZIDABINOQOF"}},
        {Kinds(true, true, false), {"Ofup", "Yvufysoj", "idazIdabinoqofom"}},
        {Kinds(false, false, true), {"5184", "88718750", "3119410035566163"}},
        {Kinds(true, false, true), {"ofu4", "yvufyso0", "idazidabinoqofo3"}},
        {Kinds(false, true, true), {"OFU4", "YVUFYSO0", "IDAZIDABINOQOFO3"}},
        {Kinds(true, true, true), {"Ofu3", "Vufysoj3", "azidabinOqofomi7"}},
    };
    for (const Case& c : cases) {
        platform::CrtRandomSource random(1);
        PasswordGenerator generator(random);
        std::vector<std::string> passwords;
        for (const std::uint32_t length : {4u, 8u, 16u}) {
            GeneratorSettings settings = c.kinds;
            settings.length = length;
            passwords.push_back(generator.Generate(settings));
        }
        EXPECT_EQ(passwords, c.passwords) << c.kinds.lower << c.kinds.upper << c.kinds.digits;
    }
}

TEST(PasswordGeneratorTest, NoKindMeansLowerCase)
{
    platform::CrtRandomSource random(7);
    GeneratorSettings settings = Kinds(false, false, false);
    PasswordGenerator(random).Generate(settings);
    EXPECT_TRUE(settings.lower);
}

TEST(PasswordGeneratorTest, RefusesLengthsOutsideFourTo128WithoutDrawing)
{
    for (const std::uint32_t length : {0u, 1u, 2u, 3u, 129u, 4000000000u}) {
        FixedRandomSource random({});
        GeneratorSettings settings = Kinds(false, false, false, length);
        EXPECT_THROW(PasswordGenerator(random).Generate(settings), std::out_of_range) << length;
        EXPECT_EQ(random.Taken(), 0u);
        EXPECT_FALSE(settings.lower);
    }
}

TEST(PasswordGeneratorTest, EveryCombinationOfKindsFollowsTheRules)
{
    platform::CrtRandomSource random(20240607);
    PasswordGenerator generator(random);
    for (int kinds = 0; kinds < 8; ++kinds) {
        for (int sample = 0; sample < 3000; ++sample) {
            const auto length = static_cast<std::uint32_t>(4 + sample % 125);
            const GeneratorSettings asked = Kinds(kinds & 1, kinds & 2, kinds & 4, length);
            GeneratorSettings settings = asked;
            const std::string password = generator.Generate(settings);
            ASSERT_EQ(test::BrokenGeneratorRule(password, asked), "") << password;
        }
    }
}

}  // namespace
}  // namespace sekreta
