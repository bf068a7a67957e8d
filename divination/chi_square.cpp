// Pearson's chi-square and the regularized upper incomplete gamma function,
// after the series and Lentz's continued fraction.
#include "divination/chi_square.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace divination {

namespace {

constexpr int kMaxIterations = 1000;
constexpr double kEpsilon = 1e-15;

// P(a, x) by its series; converges quickly for x < a + 1.
double LowerSeries(double a, double x) {
    double term = 1 / a;
    double sum = term;
    for (int n = 1; n < kMaxIterations; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * kEpsilon)
            break;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Q(a, x) by its continued fraction; converges quickly for x ≥ a + 1.
double UpperFraction(double a, double x) {
    const double tiny = std::numeric_limits<double>::min() / kEpsilon;
    double b = x + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double h = d;
    for (int n = 1; n < kMaxIterations; ++n) {
        const double an = -n * (n - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny)
            c = tiny;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < kEpsilon)
            break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

}  // namespace

double UpperGammaRegularized(double a, double x) {
    if (!(a > 0) || !(x >= 0))
        throw std::invalid_argument("UpperGammaRegularized: a > 0 and x >= 0 are needed");
    if (x == 0)
        return 1;
    if (x < a + 1)
        return 1 - LowerSeries(a, x);
    return UpperFraction(a, x);
}

double ChiSquareP(double chiSquare, int degrees) {
    if (degrees < 1)
        throw std::invalid_argument("ChiSquareP: at least one degree of freedom is needed");
    return UpperGammaRegularized(degrees / 2.0, std::max(0.0, chiSquare) / 2);
}

ChiSquareResult ChiSquare(const std::vector<std::int64_t>& counts,
                          const std::vector<double>& shares) {
    if (counts.size() != shares.size())
        throw std::invalid_argument("ChiSquare: a share for every count is needed");
    std::int64_t total = 0;
    for (std::int64_t count : counts)
        total += count;
    ChiSquareResult result;
    int possible = 0;
    result.leastExpected = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (shares[i] <= 0) {
            result.impossible = result.impossible || counts[i] > 0;
            continue;
        }
        ++possible;
        const double expected = shares[i] * static_cast<double>(total);
        result.leastExpected = std::min(result.leastExpected, expected);
        const double difference = static_cast<double>(counts[i]) - expected;
        if (expected > 0)
            result.chiSquare += difference * difference / expected;
    }
    if (possible == 0)
        result.leastExpected = 0;
    result.degrees = std::max(0, possible - 1);
    if (result.impossible)
        result.p = 0;
    else if (result.degrees > 0 && total > 0)
        result.p = ChiSquareP(result.chiSquare, result.degrees);
    return result;
}

}  // namespace divination
