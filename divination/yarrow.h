// Yarrow stalks: the held totals of three changes make a line, and a cast of
// eighteen divisions performed one at a time from a split source.
//
// Of fifty stalks one is set aside; the forty-nine are divided into a left
// and a right heap, one stalk is taken from the right and held between the
// fingers, each heap is counted off by fours and its remainder (1…4) held.
// The held total is 5 or 9 in the first change and 4 or 8 in the second and
// third; the stalks not held go on to the next change. A 4 or 5 counts 3, an
// 8 or 9 counts 2, and the three counts sum to the line's value 6–9.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "divination/changes.h"

namespace divination {

inline constexpr int kStalksInPlay = 49;  // of fifty, one set aside
inline constexpr int kChangesPerLine = 3;
inline constexpr int kDivisions = 6 * kChangesPerLine;

// Whether a held total can come of change 1…3: 5 or 9, then 4 or 8.
bool IsPossibleTotal(int change, int total);

// The line's value 6–9 from the held totals of its three changes; 0 when a
// total cannot occur in its change.
int ValueFromTotals(int first, int second, int third);

// The held totals of a cast, three a line, line 1 first.
using StalkTotals = std::array<int, kDivisions>;

// The six values, or nothing when any total cannot occur where it stands.
std::optional<LineValues> ValuesFromTotals(const StalkTotals& totals);

// One division of the stalks in hand, with everything counted in it.
struct Division {
    int line = 0;            // 1…6; 0 for no division
    int change = 0;          // 1…3
    int stalks = 0;          // in hand before dividing: 49 in the first change
    int left = 0;            // the left heap
    int right = 0;           // the right heap as divided, the stalk taken included
    int taken = 0;           // the one stalk taken from the right, between the fingers
    int leftRemainder = 0;   // 1…4
    int rightRemainder = 0;  // 1…4, of the right heap less the stalk taken
    int held = 0;            // taken + both remainders
    int remaining = 0;       // stalks on to the next change
    int value = 0;           // after the third change, the line's value 6–9

    friend bool operator==(const Division&, const Division&) = default;
};

// One sentence a screen reader announces for a division: «Черта 1,
// перемена 1: слева 24, справа 25, …, в руке 9, дальше 40 стеблей.»
std::string Description(const Division& division);

// The left heap for the stalks in hand.
using SplitSource = std::function<int(int stalks)>;

// A yarrow cast, one division at a time, six lines from the bottom.
class YarrowCast {
public:
    explicit YarrowCast(SplitSource split);

    // Divides the stalks in hand and returns the division done. A left heap
    // the source gives outside 1…stalks − 2 is brought inside, so neither
    // heap is ever empty when counted. Once finished, returns a Division with
    // line 0 and changes nothing.
    Division Next();
    // The rest of the divisions at once: «Все сразу».
    void Finish();

    bool finished() const { return done() == kDivisions; }
    int done() const { return static_cast<int>(divisions_.size()); }
    LineValues values() const { return values_; }   // 0 for lines not finished
    StalkTotals totals() const { return totals_; }  // 0 for changes not done
    const std::vector<Division>& divisions() const { return divisions_; }

private:
    SplitSource split_;
    std::vector<Division> divisions_;
    StalkTotals totals_{};
    LineValues values_{};
    int stalks_ = kStalksInPlay;
};

// The split of the stalks by a generator of the yarrow cast's own, apart from
// the coins' one: each stalk but three falls to the left or the right with
// even chance, and one of the three goes left, two right. So the left heap
// is 1 + Binomial(stalks − 3, ½): never empty, and the right never empty
// once its stalk is taken.
class YarrowGenerator {
public:
    YarrowGenerator();  // seeded from the system's entropy
    explicit YarrowGenerator(std::uint64_t seed);

    int Split(int stalks);

private:
    std::mt19937_64 engine_;
};

// A split source drawing from the program's one yarrow generator, seeded
// from the system's entropy at its first use.
SplitSource YarrowSplits();

}  // namespace divination
