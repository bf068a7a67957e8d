#include "divination/hexagrams.h"

#include <stdexcept>

namespace divination {

const std::array<std::array<int, 8>, 8> kHexagramGrid = {{
    {1, 10, 13, 25, 44, 6, 33, 12},
    {43, 58, 49, 17, 28, 47, 31, 45},
    {14, 38, 30, 21, 50, 64, 56, 35},
    {34, 54, 55, 51, 32, 40, 62, 16},
    {9, 61, 37, 42, 57, 59, 53, 20},
    {5, 60, 63, 3, 48, 29, 39, 8},
    {26, 41, 22, 27, 18, 4, 52, 23},
    {11, 19, 36, 24, 46, 7, 15, 2},
}};

// clang-format off
const std::array<std::string_view, 64> kHexagramTable = {
    "111 111", "222 222", "122 212", "212 221",
    "111 212", "212 111", "212 222", "222 212",
    "111 211", "112 111", "111 222", "222 111",
    "121 111", "111 121", "221 222", "222 122",
    "122 112", "211 221", "112 222", "222 211",
    "122 121", "121 221", "222 221", "122 222",
    "122 111", "111 221", "122 221", "211 112",
    "212 212", "121 121", "221 112", "211 122",
    "221 111", "111 122", "222 121", "121 222",
    "121 211", "112 121", "221 212", "212 122",
    "112 221", "122 211", "111 112", "211 111",
    "222 112", "211 222", "212 112", "211 212",
    "121 112", "211 121", "122 122", "221 221",
    "221 211", "112 122", "121 122", "221 121",
    "211 211", "112 112", "212 211", "112 212",
    "112 211", "221 122", "121 212", "212 121",
};
// clang-format on

int HexagramAt(int row, int column) {
    return kHexagramGrid.at(row - 1).at(column - 1);
}

Lines HexagramLines(int n) {
    if (n < 1 || n > 64)
        throw std::out_of_range("no hexagram has this number");
    Lines lines;
    int i = 0;
    for (char digit : kHexagramTable[n - 1]) {
        if (digit != ' ')
            lines.cells[i++] = LineFromText(std::string_view(&digit, 1));
    }
    return lines;
}

int IdentifyHexagram(const Lines& lines) {
    const int column = FirstTrigram(lines);
    const int row = SecondTrigram(lines);
    if (column == 0 || row == 0)
        return 0;
    return HexagramAt(row, column);
}

std::string ReadingFilePath(int n) {
    return ".\\Text\\Text" + std::to_string(n) + ".dat";
}

}  // namespace divination
