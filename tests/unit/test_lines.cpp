// Line cells, glyphs and trigram numbers.
#include <gtest/gtest.h>

#include <set>

#include "divination/hexagrams.h"
#include "divination/lines.h"

using namespace divination;

namespace {

Lines FromDigits(std::string_view digits) {
    Lines lines;
    int i = 0;
    for (char d : digits) {
        if (d != ' ')
            lines.cells.at(i++) = LineFromText(std::string_view(&d, 1));
    }
    return lines;
}

}  // namespace

TEST(Lines, RecordLineFillsTheFirstEmptyCellAndStopsWhenComplete) {
    Lines lines;
    EXPECT_EQ(lines.castCount(), 0);
    EXPECT_FALSE(lines.complete());
    const Line sequence[] = {Line::Broken, Line::Solid,  Line::Solid,
                             Line::Broken, Line::Broken, Line::Solid};
    for (int k = 0; k < 6; ++k) {
        EXPECT_TRUE(RecordLine(lines, sequence[k]));
        EXPECT_EQ(lines.castCount(), k + 1);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(lines.cells[i], i <= k ? sequence[i] : Line::NotCast);
    }
    EXPECT_TRUE(lines.complete());
    const Lines before = lines;
    EXPECT_FALSE(RecordLine(lines, Line::Broken));
    EXPECT_EQ(lines.cells, before.cells);
}

TEST(Lines, GlyphsAndCellTexts) {
    EXPECT_EQ(Glyph(Line::Solid), "___________");
    EXPECT_EQ(Glyph(Line::Broken), "____      ____");
    EXPECT_EQ(Glyph(Line::Solid).size(), 11u);
    EXPECT_EQ(LineFromText("0"), Line::NotCast);
    EXPECT_EQ(LineFromText("1"), Line::Solid);
    EXPECT_EQ(LineFromText("2"), Line::Broken);
    EXPECT_EQ(LineFromText("12"), Line::NotCast);
    EXPECT_EQ(LineDigit(Line::Broken), '2');
}

TEST(Trigrams, NumbersFollowTheBrokenLineWeights) {
    const Line S = Line::Solid, B = Line::Broken;
    EXPECT_EQ(TrigramNumber(S, S, S), 1);
    EXPECT_EQ(TrigramNumber(S, S, B), 2);
    EXPECT_EQ(TrigramNumber(S, B, S), 3);
    EXPECT_EQ(TrigramNumber(S, B, B), 4);
    EXPECT_EQ(TrigramNumber(B, S, S), 5);
    EXPECT_EQ(TrigramNumber(B, S, B), 6);
    EXPECT_EQ(TrigramNumber(B, B, S), 7);
    EXPECT_EQ(TrigramNumber(B, B, B), 8);
    EXPECT_EQ(TrigramNumber(B, B, Line::NotCast), 0);
}

TEST(Identification, KnownHexagrams) {
    EXPECT_EQ(IdentifyHexagram(FromDigits("111111")), 1);
    EXPECT_EQ(IdentifyHexagram(FromDigits("222222")), 2);
    EXPECT_EQ(IdentifyHexagram(FromDigits("122212")), 3);
    EXPECT_EQ(IdentifyHexagram(FromDigits("212221")), 4);
    EXPECT_EQ(IdentifyHexagram(FromDigits("222111")), 12);
    EXPECT_EQ(IdentifyHexagram(FromDigits("211111")), 44);
    EXPECT_EQ(IdentifyHexagram(FromDigits("121212")), 63);
    EXPECT_EQ(IdentifyHexagram(FromDigits("212121")), 64);
}

TEST(Identification, AnyUncastLineGivesZero) {
    // Every one of the 3^6 − 2^6 combinations that holds a "0" anywhere,
    // not only the prefixes a cast can produce.
    int checked = 0;
    for (int code = 0; code < 729; ++code) {
        Lines lines;
        bool anyZero = false;
        for (int i = 0, c = code; i < 6; ++i, c /= 3) {
            lines.cells[i] = static_cast<Line>(c % 3);
            anyZero |= lines.cells[i] == Line::NotCast;
        }
        if (!anyZero)
            continue;
        EXPECT_EQ(IdentifyHexagram(lines), 0) << code;
        ++checked;
    }
    EXPECT_EQ(checked, 729 - 64);
}

TEST(Identification, AllSixtyFourPatternsAgreeWithGridAndTable) {
    std::set<int> seen;
    for (int bits = 0; bits < 64; ++bits) {
        Lines lines;
        for (int i = 0; i < 6; ++i)
            lines.cells[i] = (bits >> i) & 1 ? Line::Broken : Line::Solid;
        const int n = IdentifyHexagram(lines);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 64);
        seen.insert(n);
        EXPECT_EQ(n, HexagramAt(SecondTrigram(lines), FirstTrigram(lines)));
        // The table row of n holds exactly these lines.
        EXPECT_EQ(HexagramLines(n).cells, lines.cells) << n;
        EXPECT_EQ(FromDigits(kHexagramTable[n - 1]).cells, lines.cells) << n;
    }
    EXPECT_EQ(seen.size(), 64u);
}

TEST(Identification, GridHoldsEveryNumberOnce) {
    std::set<int> numbers;
    for (const auto& row : kHexagramGrid)
        numbers.insert(row.begin(), row.end());
    EXPECT_EQ(numbers.size(), 64u);
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), 64);
    EXPECT_EQ(HexagramAt(3, 6), 64);
    EXPECT_THROW(HexagramLines(0), std::out_of_range);
    EXPECT_THROW(HexagramLines(65), std::out_of_range);
}
