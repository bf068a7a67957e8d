// The one reading of a subject: its hexagrams, changing lines and texts, and
// the texts each school of reading chooses.
#include "divination/interpretation.h"

#include <algorithm>

#include "divination/line_texts.h"

namespace divination {

CoinNumbers FlatCoins(const std::array<std::array<int, 3>, 6>& coins) {
    CoinNumbers numbers{};
    for (int line = 0; line < 6; ++line) {
        for (int coin = 0; coin < 3; ++coin)
            numbers[3 * line + coin] = coins[line][coin];
    }
    return numbers;
}

const char* SchoolName(School school) {
    switch (school) {
        case School::ZhuXi:
            return "По Чжу Си";
        case School::OneLine:
            return "Одна главная черта";
        case School::AllChanging:
            break;
    }
    return "Все изменяющиеся черты";
}

namespace {

using Kind = AnswerText::Kind;

AnswerText LineAnswer(int hexagram, int line, bool governing) {
    return {Kind::Line, hexagram, line, governing};
}

AnswerText WholeAnswer(Kind kind, int hexagram, bool governing) {
    return {kind, hexagram, kind == Kind::AllLines ? 7 : 0, governing};
}

// «Все девятки» or «Все шестёрки», in quotes, for the sentences of 1 and 2.
std::string AllLinesTitle(int hexagram) {
    return "«" + LineHeading(hexagram, 7) + "»";
}

// The all-changing school: each changing line answers in its own right.
void ReadAllChanging(Interpretation& said) {
    const std::string name = SchoolName(School::AllChanging);
    const int h = said.hexagram;
    const std::size_t count = said.changing.size();
    if (count == 0) {
        said.answers = {WholeAnswer(Kind::Reading, h, true)};
        said.rule = name + ": изменяющихся черт нет — отвечает толкование гексаграммы.";
        return;
    }
    for (int line : said.changing)
        said.answers.push_back(LineAnswer(h, line, true));
    static const char* const kHowMany[] = {
        "", "", "две черты", "три черты", "четыре черты", "пять черт", "все шесть черт"};
    if (count == 1) {
        said.rule = name + ": меняется одна черта — отвечает её текст.";
    } else {
        said.rule = name + ": меняются " + kHowMany[count] + " — отвечают их тексты, снизу вверх";
        if (count == 6 && h <= 2) {
            said.answers.push_back(WholeAnswer(Kind::AllLines, h, true));
            said.rule += ", и текст " + AllLinesTitle(h);
        }
        said.rule += ".";
    }
}

// The lines 1…6 that do not change, from the bottom.
std::vector<int> Unchanging(const std::vector<int>& changing) {
    std::vector<int> lines;
    for (int line = 1; line <= 6; ++line) {
        if (std::find(changing.begin(), changing.end(), line) == changing.end())
            lines.push_back(line);
    }
    return lines;
}

// Six changing lines, which Zhu Xi and the one-line reading treat alike: the
// text for all lines where the hexagram has one, else the second's judgement.
void ReadSixChanging(Interpretation& said, const std::string& name, const char* after) {
    const int h = said.hexagram;
    if (h <= 2) {
        said.answers = {WholeAnswer(Kind::AllLines, h, true)};
        said.rule = name + ": меняются все шесть черт, и на этот случай у гексаграммы есть " +
                    "свой текст — отвечает " + AllLinesTitle(h) + after + ".";
    } else {
        said.answers = {WholeAnswer(Kind::Judgement, said.second, true)};
        said.rule =
            name + ": меняются все шесть черт — отвечает суждение второй гексаграммы" + after + ".";
    }
}

// None or one changing line, alike in both schools: the judgement of the
// hexagram, or that line.
void ReadFewChanging(Interpretation& said, const std::string& name) {
    if (said.changing.empty()) {
        said.answers = {WholeAnswer(Kind::Judgement, said.hexagram, true)};
        said.rule = name + ": ни одна черта не меняется — отвечает суждение гексаграммы.";
    } else {
        said.answers = {LineAnswer(said.hexagram, said.changing[0], true)};
        said.rule = name + ": меняется одна черта — отвечает её текст.";
    }
}

void ReadZhuXi(Interpretation& said) {
    const std::string name = SchoolName(School::ZhuXi);
    const int h = said.hexagram;
    const int s = said.second;
    const std::vector<int>& c = said.changing;
    const std::vector<int> still = Unchanging(c);
    switch (c.size()) {
        case 0:
        case 1:
            ReadFewChanging(said, name);
            break;
        case 2:
            said.answers = {LineAnswer(h, c[1], true), LineAnswer(h, c[0], false)};
            said.rule =
                name + ": меняются две черты — отвечают тексты обеих, главный — текст верхней.";
            break;
        case 3:
            if (c[0] == 1) {
                said.answers = {WholeAnswer(Kind::Judgement, h, true),
                                WholeAnswer(Kind::Judgement, s, false)};
                said.rule = name + ": меняются три черты, и первая среди них — отвечают " +
                            "суждения обеих гексаграмм, главное — первой.";
            } else {
                said.answers = {WholeAnswer(Kind::Judgement, s, true),
                                WholeAnswer(Kind::Judgement, h, false)};
                said.rule = name + ": меняются три черты, первой среди них нет — отвечают " +
                            "суждения обеих гексаграмм, главное — второй.";
            }
            break;
        case 4:
            said.answers = {LineAnswer(s, still[0], true), LineAnswer(s, still[1], false)};
            said.rule = name + ": меняются четыре черты — отвечают две неизменные черты второй " +
                        "гексаграммы, главная — нижняя.";
            break;
        case 5:
            said.answers = {LineAnswer(s, still[0], true)};
            said.rule = name + ": меняются пять черт — отвечает единственная неизменная черта " +
                        "второй гексаграммы.";
            break;
        default:
            ReadSixChanging(said, name, "");
            break;
    }
}

void ReadOneLine(Interpretation& said) {
    const std::string name = SchoolName(School::OneLine);
    const int h = said.hexagram;
    const std::vector<int>& c = said.changing;
    const std::vector<int> still = Unchanging(c);
    const LineValues& values = said.subject.values;
    switch (c.size()) {
        case 0:
        case 1:
            ReadFewChanging(said, name);
            break;
        case 2:
            if (values[c[0] - 1] != values[c[1] - 1]) {
                const int broken = values[c[0] - 1] == kChangingBroken ? c[0] : c[1];
                said.answers = {LineAnswer(h, broken, true)};
                said.rule = name + ": меняются две черты, сплошная и прерывистая, — отвечает " +
                            "прерывистая.";
            } else {
                said.answers = {LineAnswer(h, c[0], true)};
                said.rule = name + ": меняются две черты одного рода — отвечает нижняя.";
            }
            break;
        case 3:
            said.answers = {LineAnswer(h, c[1], true)};
            said.rule = name + ": меняются три черты — отвечает средняя из них.";
            break;
        case 4:
            said.answers = {LineAnswer(h, still[1], true)};
            said.rule = name + ": меняются четыре черты — отвечает верхняя из двух неизменных " +
                        "черт самой гексаграммы.";
            break;
        case 5:
            said.answers = {LineAnswer(h, still[0], true)};
            said.rule = name + ": меняются пять черт — отвечает единственная неизменная черта " +
                        "самой гексаграммы.";
            break;
        default:
            ReadSixChanging(said, name, ", как у Чжу Си");
            return;
    }
    // The one line governs; the other changing lines stay to be read below.
    for (int line : c) {
        const bool chosen = std::any_of(said.answers.begin(), said.answers.end(),
                                        [&](const AnswerText& a) { return a.line == line; });
        if (!chosen)
            said.answers.push_back(LineAnswer(h, line, false));
    }
}

// The hexagrams a complete figure is seen beside: its opposite, itself
// upside down, and one step for each changing line.
void Relate(Interpretation& said) {
    said.nuclear = NuclearHexagram(said.hexagram);
    said.opposite = OppositeHexagram(said.hexagram);
    said.inverted = InvertedHexagram(said.hexagram);
    said.invertedIsItself = said.inverted == said.hexagram;
    for (int line : said.changing)
        said.steps.push_back({line, LineChangedHexagram(said.hexagram, line)});
}

}  // namespace

Interpretation Interpret(const Subject& subject, School school) {
    Interpretation result;
    result.subject = subject;
    result.school = school;
    for (int value : subject.values)
        result.castCount += value != 0;
    result.hexagram = HexagramOf(subject.values);
    if (!result.hexagram)
        return result;

    if (subject.kind == Subject::Kind::Table) {
        // Opened from the table, a hexagram is read whole whatever the
        // school: every line's text, and the text for all lines changing
        // where there is one. No text governs another.
        Relate(result);
        result.answer = Answer::AllLines;
        result.texts = {1, 2, 3, 4, 5, 6};
        if (result.hexagram <= 2)
            result.texts.push_back(7);
        for (int line : result.texts) {
            result.answers.push_back(line == 7 ? WholeAnswer(Kind::AllLines, result.hexagram, false)
                                               : LineAnswer(result.hexagram, line, false));
        }
        result.rule = "Гексаграмма открыта из таблицы: читаются тексты всех её черт";
        if (result.hexagram <= 2)
            result.rule += " и " + AllLinesTitle(result.hexagram);
        result.rule += ".";
        return result;
    }
    for (int line = 1; line <= 6; ++line) {
        if (IsChanging(subject.values[line - 1]))
            result.changing.push_back(line);
    }
    Relate(result);
    result.second = RelatingHexagram(subject.values);
    result.answer = result.changing.empty() ? Answer::Reading : Answer::ChangingLines;
    result.texts = result.changing;
    if (result.changing.size() == 6 && result.hexagram <= 2)
        result.texts.push_back(7);
    switch (school) {
        case School::ZhuXi:
            ReadZhuXi(result);
            break;
        case School::OneLine:
            ReadOneLine(result);
            break;
        case School::AllChanging:
            ReadAllChanging(result);
            break;
    }
    return result;
}

}  // namespace divination
