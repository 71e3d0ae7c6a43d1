#include "coding/CodeLine.h"

#include "support/ScriptedRandom.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace kelvrast {
namespace {

using testing::ScriptedRandom;

// A real generator, for checking the shape of many code lines.
class TwisterRandom : public RandomSource {
public:
    void seed(std::uint32_t value) override { engine.seed(value); }
    float next() override {
        float r = std::generate_canonical<float, 24>(engine);
        // generate_canonical may return 1 through rounding; the program's generator never does.
        return r < 1.0f ? r : std::nextafter(1.0f, 0.0f);
    }

private:
    std::mt19937 engine;
};

std::vector<int> codesOf(const std::string& line) {
    std::vector<int> codes;
    for (char ch : line)
        codes.push_back(static_cast<unsigned char>(ch));
    return codes;
}

bool isBody(int c) {
    return c >= 118 && c <= 255;
}

bool isFiller(int c) {
    return c >= 66 && c <= 116;
}

TEST(MakeCodeLineTest, HasTheShapeOfBodyAndFillerCharacters) {
    TwisterRandom random;
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        random.seed(seed);
        const int n = 1 + static_cast<int>(seed % 40);
        const std::vector<int> codes = codesOf(makeCodeLine(static_cast<float>(n), random));
        SCOPED_TRACE(::testing::Message() << "seed " << seed << ", n " << n);
        ASSERT_GE(codes.size(), static_cast<std::size_t>(n));
        ASSERT_LE(codes.size(), static_cast<std::size_t>(2 * n));
        int bodies = 0;
        for (std::size_t i = 0; i < codes.size(); ++i) {
            ASSERT_TRUE(isBody(codes[i]) || isFiller(codes[i])) << "code " << codes[i];
            bodies += isBody(codes[i]) ? 1 : 0;
            const bool twoFillers = i + 1 < codes.size() && isFiller(codes[i]) && isFiller(codes[i + 1]);
            ASSERT_FALSE(twoFillers) << "at " << i;
        }
        EXPECT_EQ(bodies, n);
        EXPECT_TRUE(isBody(codes.back()));
    }
}

TEST(MakeCodeLineTest, TurnsScriptedDrawsIntoExactCodes) {
    const float justBelowOne = 0.99999994f;
    const float justBelowTenth = std::nextafter(0.1f, 0.0f);
    struct Case {
        std::vector<float> draws;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {{0.5f, 0.0f}, {118}},                     // no filler; lowest body code
        {{0.5f, justBelowOne}, {255}},             // highest body code
        {{0.1f, 0.5f}, {186}},                     // 0.1 itself gives no filler; 186.5 rounds to even
        {{justBelowTenth, 0.0f, 0.0f}, {66, 118}}, // filler, then body
        {{0.0f, justBelowOne, 0.25f}, {116, 152}}, // highest filler; 152.25
        {{0.05f, 0.25f, 0.5f}, {78, 186}},         // 78.5 and 186.5 round down to even
        {{0.05f, 0.75f, 0.75f}, {104, 221}},       // 103.5 rounds up to even; 220.75
        // Single precision throughout: this sum is 118.5 in single precision (118), 118.50000003 in double (119).
        {{0.5f, std::bit_cast<float>(0x3b6f2eb8u)}, {118}},
        // The product is rounded before the sum: 119.5 (120), where a fused multiply-add gives 119.49999 (119).
        {{0.5f, std::bit_cast<float>(0x3c3362ebu)}, {120}},
    };
    for (const Case& c : cases) {
        ScriptedRandom random(c.draws);
        EXPECT_EQ(codesOf(makeCodeLine(1.0f, random)), c.codes);
        EXPECT_EQ(random.drawn, c.draws.size());
    }
}

TEST(MakeCodeLineTest, DrawsInOrderPassAfterPass) {
    ScriptedRandom random({0.5f, 0.0f, 0.05f, 0.0f, 0.99999994f, 0.9f, 0.5f});
    EXPECT_EQ(codesOf(makeCodeLine(3.0f, random)), (std::vector<int>{118, 66, 255, 186}));
    EXPECT_EQ(random.drawn, 7u);
}

TEST(MakeCodeLineTest, MakesNothingBelowOne) {
    for (float codeNbr : {0.0f, 0.99f, -1.0f, -25.0f}) {
        ScriptedRandom random; // any draw would throw
        EXPECT_EQ(makeCodeLine(codeNbr, random), "");
        EXPECT_EQ(random.drawn, 0u);
    }
}

TEST(MakeCodeLineTest, AFractionalCodeNumberCountsOnlyWholePasses) {
    ScriptedRandom random({0.5f});
    random.repeatLast = true;
    EXPECT_EQ(makeCodeLine(2.5f, random).size(), 2u);
}

} // namespace
} // namespace kelvrast
