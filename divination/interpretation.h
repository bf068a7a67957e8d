// What the program says about a subject — a cast, one's own throw, a
// hexagram opened from the table, a journal entry: its hexagram, the second
// and nuclear hexagrams, the changing lines, and which texts answer and why.
// Every view of a subject reads this; none works it out again.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "divination/changes.h"

namespace divination {

// How the lines of a cast were got.
enum class Method {
    Coins,          // three coins a line, tossed by the program
    SemiAutomatic,  // heads or tails by the user, identified at the sixth line
    HeadsAndTails,  // heads or tails by the user, identified at every line
    OwnThrow,       // six values 6–9 the user brings
};

// An automatic cast's coin numbers, three a line, line 1 first.
using CoinNumbers = std::array<int, 18>;

// The coin cells of a cast, three a line, as one row of numbers.
CoinNumbers FlatCoins(const std::array<std::array<int, 3>, 6>& coins);

// Whether a method's lines come from coins the program drew.
inline bool HasCoins(Method method) {
    return method == Method::Coins;
}

struct Subject {
    enum class Kind { Cast, OwnThrow, Table, Entry };
    Kind kind = Kind::Cast;
    LineValues values{};  // 0 for a line not yet cast

    static Subject OfCast(const LineValues& values) { return {Kind::Cast, values}; }
    static Subject OfOwnThrow(const LineValues& values) { return {Kind::OwnThrow, values}; }
    static Subject OfEntry(const LineValues& values) { return {Kind::Entry, values}; }
    static Subject OfTable(int hexagram) { return {Kind::Table, RestingValues(hexagram)}; }
};

// Which texts answer, and so why.
enum class Answer {
    Incomplete,     // lines are still to be cast
    Reading,        // no line changes: the hexagram's reading answers
    ChangingLines,  // the changing lines' texts, 7 when all six of 1 or 2 change
    AllLines,       // a hexagram opened from the table: every line's text
};

struct Interpretation {
    Subject subject;
    int castCount = 0;
    int hexagram = 0;  // 1…64, 0 while lines are still to be cast
    int second = 0;    // every changing line flipped; 0 when none changes
    int nuclear = 0;
    std::vector<int> changing;  // 1…6, from the bottom
    Answer answer = Answer::Incomplete;
    std::vector<int> texts;  // the line texts that answer, 1…6, and 7

    bool complete() const { return hexagram != 0; }
};

Interpretation Interpret(const Subject& subject);

// The sentence that says why the reading alone answers a cast.
inline constexpr const char* kNoChangingLinesSentence =
    "Изменяющихся черт нет: ответом служит общее толкование гексаграммы.";

// The heading over the line texts that answer.
inline const char* TextsHeading(const Interpretation& interpretation) {
    return interpretation.answer == Answer::AllLines ? "Тексты черт" : "Изменяющиеся черты";
}

}  // namespace divination
