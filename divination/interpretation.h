// What the program says about a subject — a cast, one's own throw, a
// hexagram opened from the table, a journal entry: its hexagram, the second,
// nuclear and other related hexagrams, the changing lines, and which texts
// answer and why, by the school of reading the user follows. Every view of a
// subject reads this; none works it out again.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "divination/changes.h"

namespace divination {

// How the lines of a cast were got.
enum class Method {
    Coins,           // three coins a line, tossed by the program
    SemiAutomatic,   // heads or tails by the user, identified at the sixth line
    HeadsAndTails,   // heads or tails by the user, identified at every line
    OwnThrow,        // six values 6–9 the user brings
    Yarrow,          // yarrow stalks divided by the program, one division at a time
    OwnThrowTotals,  // the held totals of the user's own stalks, three a line
};

// An automatic cast's coin numbers, three a line, line 1 first.
using CoinNumbers = std::array<int, 18>;

// The coin cells of a cast, three a line, as one row of numbers.
CoinNumbers FlatCoins(const std::array<std::array<int, 3>, 6>& coins);

// Whether a method's lines come from coins the program drew.
inline bool HasCoins(Method method) {
    return method == Method::Coins;
}

// Whether a method's lines come from the held totals of yarrow stalks.
inline bool HasTotals(Method method) {
    return method == Method::Yarrow || method == Method::OwnThrowTotals;
}

struct Subject {
    enum class Kind { Cast, OwnThrow, Table, Entry, Yarrow };
    Kind kind = Kind::Cast;
    LineValues values{};  // 0 for a line not yet cast

    static Subject OfCast(const LineValues& values) { return {Kind::Cast, values}; }
    static Subject OfOwnThrow(const LineValues& values) { return {Kind::OwnThrow, values}; }
    static Subject OfEntry(const LineValues& values) { return {Kind::Entry, values}; }
    static Subject OfYarrow(const LineValues& values) { return {Kind::Yarrow, values}; }
    static Subject OfTable(int hexagram) { return {Kind::Table, RestingValues(hexagram)}; }
};

// Which texts answer, and so why.
enum class Answer {
    Incomplete,     // lines are still to be cast
    Reading,        // no line changes: the hexagram's reading answers
    ChangingLines,  // the changing lines' texts, 7 when all six of 1 or 2 change
    AllLines,       // a hexagram opened from the table: every line's text
};

// The schools of reading a cast's changing lines.
enum class School {
    AllChanging,  // «Все изменяющиеся черты»: every changing line, from the bottom
    ZhuXi,        // «По Чжу Си»: by the number of changing lines, after Zhu Xi
    OneLine,  // «Одна главная черта»: the one-line reduction of modern practice
};

// One text that answers: a line's text, the text for all six lines changing
// (hexagrams 1 and 2 only), the «Суждение» section of a reading, or the
// whole reading. The hexagram is whose text it is — for some rules the
// second hexagram's.
struct AnswerText {
    enum class Kind { Line, AllLines, Judgement, Reading };
    Kind kind = Kind::Line;
    int hexagram = 0;
    int line = 0;  // 1…6 for a Line, 7 for AllLines, 0 otherwise
    bool governing = false;

    friend bool operator==(const AnswerText&, const AnswerText&) = default;
};

// A hexagram with one changing line alone turned.
struct Step {
    int line = 0;  // 1…6
    int hexagram = 0;

    friend bool operator==(const Step&, const Step&) = default;
};

struct Interpretation {
    Subject subject;
    School school = School::AllChanging;
    int castCount = 0;
    int hexagram = 0;  // 1…64, 0 while lines are still to be cast
    int second = 0;    // every changing line flipped; 0 when none changes
    int nuclear = 0;
    int opposite = 0;               // every line turned into its opposite
    int inverted = 0;               // the figure upside down
    bool invertedIsItself = false;  // one of the eight that read the same either way
    std::vector<Step> steps;        // one per changing line, from the bottom
    std::vector<int> changing;      // 1…6, from the bottom
    // The all-changing reading whatever the school: the views read these
    // until they move to answers.
    Answer answer = Answer::Incomplete;
    std::vector<int> texts;  // the line texts that answer, 1…6, and 7
    // The texts the school chooses, the governing first, the others below
    // it; every one governs in the all-changing school, none for a hexagram
    // opened from the table. Empty while lines are still to be cast.
    std::vector<AnswerText> answers;
    std::string rule;  // one sentence: the rule that chose the answers

    bool complete() const { return hexagram != 0; }
};

Interpretation Interpret(const Subject& subject, School school = School::AllChanging);

// The name of a school as the menu gives it: «По Чжу Си».
const char* SchoolName(School school);

// The sentence that says why the reading alone answers a cast.
inline constexpr const char* kNoChangingLinesSentence =
    "Изменяющихся черт нет: ответом служит общее толкование гексаграммы.";

// The heading over the line texts that answer.
inline const char* TextsHeading(const Interpretation& interpretation) {
    return interpretation.answer == Answer::AllLines ? "Тексты черт" : "Изменяющиеся черты";
}

// What the views set under «Толкование» and in print, in order: headings,
// the texts the school chose (a line's, 7 for all six changing, a
// judgement) and sentences. The views read the texts from the files; the
// choice and the order are made here once.
struct AnswerBlock {
    enum class Kind { Heading, Line, Judgement, Sentence };
    Kind kind = Kind::Sentence;
    std::string text;       // Heading and Sentence
    int hexagram = 0;       // Line and Judgement: whose text
    int line = 0;           // Line: 1…6, or 7
    bool numbered = false;  // Line: says which line of the cast it is
    bool governing = false;
};
std::vector<AnswerBlock> AnswerBlocks(const Interpretation& interpretation);

}  // namespace divination
