// The texts of the single lines: one file a hexagram, ".\Text\Lines<n>.dat",
// Windows-1251 like the readings. After a title line, blocks divided by an
// empty line, each a heading in the tradition's form («Девятка третья») and
// the text; the six lines from the bottom, then for 1 and 2 the text for
// all lines changing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace divination {

std::string LineTextsFilePath(int hexagram);

struct LineText {
    std::string heading;
    std::string text;
};

struct LineTexts {
    std::string title;
    std::vector<LineText> lines;  // [0] line 1 … [5] line 6, [6] all changing
};

// Decoded text in, as LoadText gives it. A file cut short gives fewer lines;
// nothing in a user's own file makes this fail.
LineTexts ParseLineTexts(std::string_view text);

// A reading's sections («Триграммы», «Образ», «Суждение», «Ситуация»,
// «Совет») stand each under a heading line, the one kind of line that does
// not end its sentence; the first line of the file is the reading's title.
bool IsSectionHeading(std::string_view line);

// The paragraphs under a section heading of a decoded reading, joined by
// "\n"; empty when the reading has no such section.
std::string ReadingSection(std::string_view reading, std::string_view heading);

// The «Суждение» of a reading: "the judgement" of the schools of reading.
inline constexpr std::string_view kJudgementHeading = "Суждение";

// The heading of line 1…6 of a hexagram («В начале девятка», «Шестёрка
// вторая», «Наверху шестёрка»), 7 for «Все девятки» / «Все шестёрки».
std::string LineHeading(int hexagram, int line);

}  // namespace divination
