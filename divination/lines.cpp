// Line cells, their glyphs and the trigram numbers.
#include "divination/lines.h"

#include <algorithm>

namespace divination {

int Lines::castCount() const {
    return static_cast<int>(
        std::count_if(cells.begin(), cells.end(), [](Line l) { return l != Line::NotCast; }));
}

std::string_view Glyph(Line value) {
    return value == Line::Broken ? kBrokenGlyph : kSolidGlyph;
}

bool RecordLine(Lines& lines, Line value) {
    for (Line& cell : lines.cells) {
        if (cell == Line::NotCast) {
            cell = value;
            return true;
        }
    }
    return false;
}

int TrigramNumber(Line first, Line second, Line third) {
    if (first == Line::NotCast || second == Line::NotCast || third == Line::NotCast)
        return 0;
    auto broken = [](Line l) { return l == Line::Broken ? 1 : 0; };
    return 1 + 4 * broken(first) + 2 * broken(second) + broken(third);
}

int FirstTrigram(const Lines& lines) {
    return TrigramNumber(lines[1], lines[2], lines[3]);
}

int SecondTrigram(const Lines& lines) {
    return TrigramNumber(lines[4], lines[5], lines[6]);
}

Line LineFromText(std::string_view text) {
    if (text == "1")
        return Line::Solid;
    if (text == "2")
        return Line::Broken;
    return Line::NotCast;
}

char LineDigit(Line value) {
    return static_cast<char>('0' + static_cast<int>(value));
}

}  // namespace divination
