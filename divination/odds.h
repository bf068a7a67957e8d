// What each method of casting should give: the share of the line values 6,
// 7, 8 and 9 by the rules of its cast, and whether the lines a journal holds
// agree with it, said in plain Russian.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "divination/interpretation.h"

namespace divination {

// Shares of 6, 7, 8, 9, in that order.
using ValueShares = std::array<double, 4>;

// Three coins: 1/8, 3/8, 3/8, 1/8. Yarrow stalks, the program's or the
// user's: 1/16, 5/16, 7/16, 3/16. One coin a line: 7 or 8, half each, no
// changing line. Nullopt for one's own throw: its values are brought, not
// drawn, and no rule says how often each should come.
std::optional<ValueShares> ExpectedShares(Method method);

// «Три монеты», as the statistics name a method.
const char* MethodName(Method method);

// The least expected count of a value for the chi-square to be trusted.
inline constexpr double kLeastExpectedCount = 5;
// Below this p-value the counts differ from the expected ones.
inline constexpr double kSignificance = 0.05;

struct ValueFit {
    enum class Verdict {
        NoLines,        // no line of this method among the entries
        NoExpectation,  // one's own throw: nothing to compare with
        TooFew,         // too few lines for the test to say anything
        WithinChance,   // «в пределах случайного»
        Differs,        // «заметно отличается»
    };
    Verdict verdict = Verdict::NoLines;
    std::int64_t lines = 0;
    std::int64_t linesNeeded = 0;  // for TooFew: how many the test needs
    double chiSquare = 0;
    int degrees = 0;
    double p = 1;
    bool impossible = false;  // a value the method can't give came
    std::string sentence;     // the verdict in a sentence, p-value included
};

// The counts of 6, 7, 8, 9 a method's lines gave, against its shares.
ValueFit FitValues(Method method, const std::array<std::int64_t, 4>& counts);

// "0,051", "< 0,001": a p-value as the sentences give it.
std::string PValueText(double p);

}  // namespace divination
