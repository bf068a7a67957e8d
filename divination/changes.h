// Line values 6–9, the changing lines, the second and nuclear hexagrams.
//
// A cast line is 6, 7, 8 or 9; the line cells keep solid or broken, derived
// from it (9 and 7 solid, 6 and 8 broken), so nothing the cells, glyphs and
// markers show depends on the value beyond that.
#pragma once

#include <array>

#include "divination/lines.h"

namespace divination {

inline constexpr int kChangingBroken = 6;  // шестёрка
inline constexpr int kSolid = 7;           // семёрка
inline constexpr int kBroken = 8;          // восьмёрка
inline constexpr int kChangingSolid = 9;   // девятка

// Lines 1…6 in casting order; 0 for a line not cast.
using LineValues = std::array<int, 6>;

// The automatic cast: three odd (heads) → 9, two → 7, one → 8, none → 6.
// Solid or broken is the majority rule of LineFromCoins.
int ValueFromCoins(int first, int second, int third);

// One coin per line gives no changing line: solid 7, broken 8.
int ValueOfLine(Line line);

Line LineOfValue(int value);
bool IsChanging(int value);
bool IsLineValue(int value);  // 6…9

// The six values as lines; a 0 value is a line not cast.
Lines LinesOf(const LineValues& values);

// A hexagram's lines at rest: 7 for a solid line, 8 for a broken one (a
// reading opened from the table, the second hexagram).
LineValues RestingValues(int hexagram);

// 1…64 for six cast values, else 0.
int HexagramOf(const LineValues& values);

// Every changing line flipped; 0 when no line changes or a line is not cast.
int RelatingHexagram(const LineValues& values);

// Lines 2–4 as the lower trigram, 3–5 as the upper.
int NuclearHexagram(int hexagram);

// Every line turned into its opposite: solid for broken, broken for solid.
int OppositeHexagram(int hexagram);

// The figure upside down: line 6 becomes line 1. Eight hexagrams read the
// same either way (1, 2, 27, 28, 29, 30, 61, 62) and give themselves.
int InvertedHexagram(int hexagram);

// The hexagram with line 1…6 alone turned into its opposite.
int LineChangedHexagram(int hexagram, int line);

}  // namespace divination
