// Reading the files of line texts, and the headings the tradition gives.
#include "divination/line_texts.h"

#include <array>

#include "divination/hexagrams.h"

namespace divination {

std::string LineTextsFilePath(int hexagram) {
    return ".\\Text\\Lines" + std::to_string(hexagram) + ".dat";
}

namespace {

std::vector<std::string_view> Blocks(std::string_view text) {
    std::vector<std::string_view> blocks;
    while (!text.empty()) {
        const size_t end = text.find("\n\n");
        std::string_view block = text.substr(0, end);
        while (!block.empty() && block.back() == '\n')
            block.remove_suffix(1);
        while (!block.empty() && block.front() == '\n')
            block.remove_prefix(1);
        if (!block.empty())
            blocks.push_back(block);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 2);
    }
    return blocks;
}

}  // namespace

LineTexts ParseLineTexts(std::string_view text) {
    LineTexts texts;
    const std::vector<std::string_view> blocks = Blocks(text);
    if (blocks.empty())
        return texts;
    texts.title = std::string(blocks.front());
    for (size_t i = 1; i < blocks.size() && texts.lines.size() < 7; ++i) {
        const std::string_view block = blocks[i];
        const size_t newline = block.find('\n');
        LineText line;
        line.heading = std::string(block.substr(0, newline));
        if (newline != std::string_view::npos)
            line.text = std::string(block.substr(newline + 1));
        texts.lines.push_back(std::move(line));
    }
    return texts;
}

bool IsSectionHeading(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
        line.remove_suffix(1);
    // A paragraph ends its sentence; a user's own reading may end one with
    // «!», «?» or «…» too.
    return !line.empty() && line.back() != '.' && line.back() != '!' && line.back() != '?' &&
           !line.ends_with("…");
}

std::string ReadingSection(std::string_view reading, std::string_view heading) {
    std::string section;
    bool inside = false;
    bool first = true;
    while (!reading.empty()) {
        const size_t end = reading.find('\n');
        std::string_view line = reading.substr(0, end);
        reading.remove_prefix(end == std::string_view::npos ? reading.size() : end + 1);
        if (first) {  // the title
            first = false;
            continue;
        }
        if (line.empty())
            continue;
        if (IsSectionHeading(line)) {
            if (inside)
                break;
            inside = line == heading;
            continue;
        }
        if (inside)
            section += (section.empty() ? "" : "\n") + std::string(line);
    }
    return section;
}

std::string LineHeading(int hexagram, int line) {
    if (line == 7)
        return hexagram == 1 ? "Все девятки" : "Все шестёрки";
    const bool solid = HexagramLines(hexagram)[line] == Line::Solid;
    if (line == 1)
        return solid ? "В начале девятка" : "В начале шестёрка";
    if (line == 6)
        return solid ? "Наверху девятка" : "Наверху шестёрка";
    static constexpr std::array<const char*, 5> kOrdinals = {"", "вторая", "третья", "четвёртая",
                                                             "пятая"};
    return std::string(solid ? "Девятка " : "Шестёрка ") + kOrdinals[line - 1];
}

}  // namespace divination
