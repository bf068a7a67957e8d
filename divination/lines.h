// The six line cells of the hexagram being cast, trigrams and the text glyphs.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace divination {

// A line cell. The values stand for the cell texts "0", "1" and "2".
enum class Line : std::uint8_t { NotCast = 0, Solid = 1, Broken = 2 };

inline constexpr std::string_view kSolidGlyph = "___________";
inline constexpr std::string_view kBrokenGlyph = "____      ____";

// Lines 1…6 in casting order; cast lines always form a prefix.
struct Lines {
    std::array<Line, 6> cells{};

    Line operator[](int lineNumber) const { return cells[lineNumber - 1]; }
    bool complete() const { return cells[5] != Line::NotCast; }
    int castCount() const;
};

std::string_view Glyph(Line value);

// Writes the value into the first cell that holds NotCast; a complete
// hexagram is left as it is. Returns whether a cell changed.
bool RecordLine(Lines& lines, Line value);

// 1 + 4·(first broken) + 2·(second broken) + (third broken), or 0 while any
// of the three is not cast.
int TrigramNumber(Line first, Line second, Line third);
int FirstTrigram(const Lines& lines);   // lines 1–3: the table column
int SecondTrigram(const Lines& lines);  // lines 4–6: the table row

// "0", "1", "2" ↔ Line, for the places where a line is given as text.
Line LineFromText(std::string_view text);
char LineDigit(Line value);

}  // namespace divination
