// Line values, changing lines and the hexagrams they lead to.
#include "divination/changes.h"

#include "divination/coins.h"
#include "divination/hexagrams.h"

namespace divination {

int ValueFromCoins(int first, int second, int third) {
    switch (IsHeads(first) + IsHeads(second) + IsHeads(third)) {
        case 3:
            return kChangingSolid;
        case 2:
            return kSolid;
        case 1:
            return kBroken;
        default:
            return kChangingBroken;
    }
}

int ValueOfLine(Line line) {
    return line == Line::Solid ? kSolid : line == Line::Broken ? kBroken : 0;
}

Line LineOfValue(int value) {
    if (value == kSolid || value == kChangingSolid)
        return Line::Solid;
    if (value == kBroken || value == kChangingBroken)
        return Line::Broken;
    return Line::NotCast;
}

bool IsChanging(int value) {
    return value == kChangingSolid || value == kChangingBroken;
}

bool IsLineValue(int value) {
    return value >= kChangingBroken && value <= kChangingSolid;
}

Lines LinesOf(const LineValues& values) {
    Lines lines;
    for (int i = 0; i < 6; ++i)
        lines.cells[i] = LineOfValue(values[i]);
    return lines;
}

LineValues RestingValues(int hexagram) {
    const Lines lines = HexagramLines(hexagram);
    LineValues values{};
    for (int i = 0; i < 6; ++i)
        values[i] = ValueOfLine(lines.cells[i]);
    return values;
}

int HexagramOf(const LineValues& values) {
    return IdentifyHexagram(LinesOf(values));
}

int RelatingHexagram(const LineValues& values) {
    Lines lines = LinesOf(values);
    bool changes = false;
    for (int i = 0; i < 6; ++i) {
        if (IsChanging(values[i])) {
            lines.cells[i] = lines.cells[i] == Line::Solid ? Line::Broken : Line::Solid;
            changes = true;
        }
    }
    return changes ? IdentifyHexagram(lines) : 0;
}

int NuclearHexagram(int hexagram) {
    const Lines lines = HexagramLines(hexagram);
    Lines nuclear;
    for (int i = 0; i < 3; ++i) {
        nuclear.cells[i] = lines.cells[1 + i];      // lines 2–4
        nuclear.cells[3 + i] = lines.cells[2 + i];  // lines 3–5
    }
    return IdentifyHexagram(nuclear);
}

namespace {

Line OppositeLine(Line line) {
    return line == Line::Solid ? Line::Broken : Line::Solid;
}

}  // namespace

int OppositeHexagram(int hexagram) {
    Lines lines = HexagramLines(hexagram);
    for (Line& line : lines.cells)
        line = OppositeLine(line);
    return IdentifyHexagram(lines);
}

int InvertedHexagram(int hexagram) {
    const Lines lines = HexagramLines(hexagram);
    Lines inverted;
    for (int i = 0; i < 6; ++i)
        inverted.cells[i] = lines.cells[5 - i];
    return IdentifyHexagram(inverted);
}

int LineChangedHexagram(int hexagram, int line) {
    Lines lines = HexagramLines(hexagram);
    Line& cell = lines.cells.at(line - 1);
    cell = OppositeLine(cell);
    return IdentifyHexagram(lines);
}

}  // namespace divination
