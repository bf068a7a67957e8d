// The 64 hexagrams: the 8 × 8 grid, the table of their lines, and the
// identification rule. The grid is also what the 64 table buttons show.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "divination/lines.h"

namespace divination {

// kHexagramGrid[row - 1][column - 1]: row = trigram of lines 4–6,
// column = trigram of lines 1–3.
extern const std::array<std::array<int, 8>, 8> kHexagramGrid;

// kHexagramTable[n - 1]: the lines of hexagram n as digits, lines 1–3 and
// 4–6 in two groups ("122 212" for 3), 1 solid, 2 broken.
extern const std::array<std::string_view, 64> kHexagramTable;

// The number at the crossing of the trigram numbers (1…8 each).
int HexagramAt(int row, int column);

// The six lines of hexagram n (1…64), line 1 first.
Lines HexagramLines(int n);

// Six cast lines → 1…64; 0 while any line is not cast.
int IdentifyHexagram(const Lines& lines);

struct HexagramName {
    std::string_view name;             // "Начальная трудность"
    std::string_view transliteration;  // "Чжунь"
};

// kHexagramNames[n - 1], UTF-8, as each reading opens: "Гексаграмма 3.
// Начальная трудность (Чжунь)".
extern const std::array<HexagramName, 64> kHexagramNames;

// "3. Начальная трудность": how the new windows name a hexagram.
std::string NumberAndName(int n);

// ".\Text\Text<n>.dat", n in decimal without leading zeros (1…65).
std::string ReadingFilePath(int n);

}  // namespace divination
