// Pearson's chi-square test of counts against expected shares, and the
// regularized incomplete gamma function its p-value comes from.
#pragma once

#include <cstdint>
#include <vector>

namespace divination {

// Q(a, x) = Γ(a, x) / Γ(a) for a > 0, x ≥ 0: the share of the gamma
// distribution above x. Double precision, by the series below a + 1 and by
// the continued fraction above it.
double UpperGammaRegularized(double a, double x);

// The chance that a chi-square of `degrees` degrees of freedom reaches
// `chiSquare`.
double ChiSquareP(double chiSquare, int degrees);

struct ChiSquareResult {
    double chiSquare = 0;
    int degrees = 0;
    double p = 1;
    // Some category was expected never to come and came: no chance at all.
    bool impossible = false;
    // The least expected count among the categories that can come.
    double leastExpected = 0;
};

// The counts against the shares (summing to 1), over the categories whose
// share is above zero; `impossible` when a category of share zero came.
ChiSquareResult ChiSquare(const std::vector<std::int64_t>& counts,
                          const std::vector<double>& shares);

}  // namespace divination
