// The expected shares of the line values by method, and the verdict of the
// chi-square test on the lines a journal holds.
#include "divination/odds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "divination/chi_square.h"

namespace divination {

std::optional<ValueShares> ExpectedShares(Method method) {
    switch (method) {
        case Method::Coins:
            // Three odd coins or none: 1 in 8 each; two or one: 3 in 8.
            return ValueShares{1 / 8.0, 3 / 8.0, 3 / 8.0, 1 / 8.0};
        case Method::Yarrow:
        case Method::OwnThrowTotals:
            return ValueShares{1 / 16.0, 5 / 16.0, 7 / 16.0, 3 / 16.0};
        case Method::HeadsAndTails:
        case Method::SemiAutomatic:
            return ValueShares{0, 1 / 2.0, 1 / 2.0, 0};
        case Method::OwnThrow:
            return std::nullopt;
    }
    return std::nullopt;
}

const char* MethodName(Method method) {
    switch (method) {
        case Method::Coins:
            return "Три монеты";
        case Method::SemiAutomatic:
            return "Орёл и решка, до шестой черты";
        case Method::HeadsAndTails:
            return "Орёл и решка";
        case Method::OwnThrow:
            return "Свой бросок";
        case Method::Yarrow:
            return "Стебли тысячелистника";
        case Method::OwnThrowTotals:
            return "Свои стебли тысячелистника";
    }
    return "";
}

namespace {

// A number with a decimal comma, as Russian writes it.
std::string Decimal(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    std::string result = text;
    for (char& c : result)
        if (c == '.')
            c = ',';
    return result;
}

// «при 1 степени свободы», «при 3 степенях свободы».
std::string Degrees(int degrees) {
    return "при " + std::to_string(degrees) +
           (degrees % 10 == 1 && degrees % 100 != 11 ? " степени свободы" : " степенях свободы");
}

// «черта», «черты», «черт» after a number.
std::string Lines(std::int64_t n) {
    const std::int64_t last = n % 10, lastTwo = n % 100;
    const char* word = (last == 1 && lastTwo != 11)                                 ? "черта"
                       : (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) ? "черты"
                                                                                    : "черт";
    return std::to_string(n) + " " + word;
}

void Describe(ValueFit& fit) {
    using Verdict = ValueFit::Verdict;
    const std::string test = " (χ² = " + Decimal(fit.chiSquare, 2) + " " + Degrees(fit.degrees) +
                             ", p " + PValueText(fit.p) + ").";
    switch (fit.verdict) {
        case Verdict::NoLines:
            fit.sentence = "Черт, брошенных этим способом, среди показанных записей нет.";
            break;
        case Verdict::NoExpectation:
            fit.sentence =
                "Значения своего броска приносит сам гадающий, поэтому ожидаемых долей у этого "
                "способа нет и сравнивать не с чем.";
            break;
        case Verdict::TooFew:
            fit.sentence = "Судить рано: черт пока слишком мало. Для проверки нужно хотя бы " +
                           Lines(fit.linesNeeded) + ", а здесь " + Lines(fit.lines) + ".";
            break;
        case Verdict::WithinChance:
            fit.sentence =
                "В пределах случайного: значения выпадают так, как и должны при этом способе" +
                test;
            break;
        case Verdict::Differs:
            fit.sentence =
                fit.impossible
                    ? "Заметно отличается: при этом способе изменяющихся черт не бывает, а среди "
                      "записей есть шестёрки или девятки (p = 0)."
                    : "Заметно отличается от ожидаемого: случайно такое расхождение бывает реже, "
                      "чем в 5 случаях из 100" +
                          test;
            break;
    }
}

}  // namespace

std::string PValueText(double p) {
    if (p < 0.001)
        return "< 0,001";
    return "= " + Decimal(p, 3);
}

ValueFit FitValues(Method method, const std::array<std::int64_t, 4>& counts) {
    using Verdict = ValueFit::Verdict;
    ValueFit fit;
    for (std::int64_t count : counts)
        fit.lines += count;
    const std::optional<ValueShares> shares = ExpectedShares(method);
    if (fit.lines == 0) {
        fit.verdict = Verdict::NoLines;
    } else if (!shares) {
        fit.verdict = Verdict::NoExpectation;
    } else {
        const ChiSquareResult test =
            ChiSquare({counts.begin(), counts.end()}, {shares->begin(), shares->end()});
        fit.chiSquare = test.chiSquare;
        fit.degrees = test.degrees;
        fit.p = test.p;
        fit.impossible = test.impossible;
        double least = 1;
        for (double share : *shares)
            if (share > 0)
                least = std::min(least, share);
        fit.linesNeeded = static_cast<std::int64_t>(std::ceil(kLeastExpectedCount / least - 1e-9));
        if (test.impossible)
            fit.verdict = Verdict::Differs;
        else if (test.leastExpected < kLeastExpectedCount)
            fit.verdict = Verdict::TooFew;
        else
            fit.verdict = test.p < kSignificance ? Verdict::Differs : Verdict::WithinChance;
    }
    Describe(fit);
    return fit;
}

}  // namespace divination
