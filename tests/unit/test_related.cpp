// The hexagrams seen beside a cast: opposite, upside down, one line changed.
#include <gtest/gtest.h>

#include <set>

#include "divination/changes.h"
#include "divination/hexagrams.h"
#include "divination/interpretation.h"

using namespace divination;

namespace {

// The figure as six bits, line 1 the lowest, a solid line a one.
int Pattern(int hexagram) {
    const Lines lines = HexagramLines(hexagram);
    int bits = 0;
    for (int i = 0; i < 6; ++i)
        bits |= (lines.cells[i] == Line::Solid) << i;
    return bits;
}

int Reversed(int bits) {
    int out = 0;
    for (int i = 0; i < 6; ++i)
        out |= ((bits >> i) & 1) << (5 - i);
    return out;
}

}  // namespace

TEST(RelatedHexagrams, AreTheBitOperationsOnTheFigure) {
    std::set<int> patterns;
    for (int n = 1; n <= 64; ++n)
        patterns.insert(Pattern(n));
    ASSERT_EQ(patterns.size(), 64u);  // so equal patterns mean the same hexagram
    for (int n = 1; n <= 64; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Pattern(OppositeHexagram(n)), Pattern(n) ^ 0b111111);
        EXPECT_EQ(Pattern(InvertedHexagram(n)), Reversed(Pattern(n)));
        for (int line = 1; line <= 6; ++line)
            EXPECT_EQ(Pattern(LineChangedHexagram(n, line)), Pattern(n) ^ (1 << (line - 1)));
    }
}

// The received order pairs the hexagrams: 2k − 1 and 2k are each other
// upside down, but for the four pairs that read the same either way, which
// are each other's opposite.
TEST(RelatedHexagrams, FollowThePairsOfTheReceivedOrder) {
    const std::set<int> sameEitherWay = {1, 2, 27, 28, 29, 30, 61, 62};
    for (int odd = 1; odd < 64; odd += 2) {
        SCOPED_TRACE(odd);
        if (sameEitherWay.count(odd)) {
            EXPECT_EQ(OppositeHexagram(odd), odd + 1);
            EXPECT_EQ(OppositeHexagram(odd + 1), odd);
            EXPECT_EQ(InvertedHexagram(odd), odd);
            EXPECT_EQ(InvertedHexagram(odd + 1), odd + 1);
        } else {
            EXPECT_EQ(InvertedHexagram(odd), odd + 1);
            EXPECT_EQ(InvertedHexagram(odd + 1), odd);
        }
    }
    std::set<int> found;
    for (int n = 1; n <= 64; ++n) {
        if (Interpret(Subject::OfTable(n)).invertedIsItself)
            found.insert(n);
    }
    EXPECT_EQ(found, sameEitherWay);
}

TEST(RelatedHexagrams, StandInTheInterpretation) {
    // 60 «Ограничение» with lines 1 and 4 changing.
    const Interpretation sixty = Interpret(Subject::OfCast({9, 7, 8, 6, 7, 8}));
    EXPECT_EQ(sixty.opposite, 56);
    EXPECT_EQ(sixty.inverted, 59);
    EXPECT_FALSE(sixty.invertedIsItself);
    EXPECT_EQ(sixty.steps, (std::vector<Step>{{1, 29}, {4, 58}}));

    const Interpretation one = Interpret(Subject::OfEntry({9, 9, 9, 9, 9, 7}), School::ZhuXi);
    EXPECT_EQ(one.opposite, 2);
    EXPECT_EQ(one.inverted, 1);
    EXPECT_TRUE(one.invertedIsItself);
    EXPECT_EQ(one.steps, (std::vector<Step>{{1, 44}, {2, 13}, {3, 10}, {4, 9}, {5, 14}}));

    const Interpretation table = Interpret(Subject::OfTable(27));
    EXPECT_EQ(table.opposite, 28);
    EXPECT_TRUE(table.invertedIsItself);
    EXPECT_TRUE(table.steps.empty());

    const Interpretation unfinished = Interpret(Subject::OfCast({9, 7, 0, 0, 0, 0}));
    EXPECT_EQ(unfinished.opposite, 0);
    EXPECT_EQ(unfinished.inverted, 0);
    EXPECT_TRUE(unfinished.steps.empty());
}
