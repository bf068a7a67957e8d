// How often the yarrow cast gives each line value: 10⁶ simulated lines with
// the program's split, and with a uniform split point for comparison.
//
// The tradition's odds are 1/16, 5/16, 7/16 and 3/16 for 6, 7, 8 and 9. A
// measurement, not a test: run with `make bench`, or
// `build/bench/yarrow_frequencies [lines]`. It exits 1 when the program's
// split strays more than half a percentage point from any of them.
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "divination/yarrow.h"

namespace {

using Counts = std::array<long, 4>;  // values 6…9

// Whole casts until `lines` lines are counted, from the bottom of each.
Counts CountLines(long lines, const divination::SplitSource& split) {
    Counts counts{};
    for (long counted = 0; counted < lines;) {
        divination::YarrowCast cast(split);
        cast.Finish();
        for (int value : cast.values()) {
            if (counted == lines)
                break;
            ++counted;
            ++counts[value - 6];
        }
    }
    return counts;
}

// Prints the percentages and returns the largest distance from the odds, in
// percentage points.
double Report(const char* name, const Counts& counts, long lines) {
    constexpr std::array<double, 4> kOdds = {1 / 16.0, 5 / 16.0, 7 / 16.0, 3 / 16.0};
    double worst = 0;
    std::printf("%s, %ld lines:\n", name, lines);
    for (int i = 0; i < 4; ++i) {
        const double share = 100.0 * static_cast<double>(counts[i]) / static_cast<double>(lines);
        const double off = share - 100.0 * kOdds[i];
        worst = std::fmax(worst, std::fabs(off));
        std::printf("  %d: %7.3f %%  (odds %6.3f %%, %+.3f pp)\n", i + 6, share, 100.0 * kOdds[i],
                    off);
    }
    std::printf("  largest distance %.3f pp\n", worst);
    return worst;
}

}  // namespace

int main(int argc, char** argv) {
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    if (lines <= 0) {
        std::fprintf(stderr, "usage: %s [lines]\n", argv[0]);
        return 2;
    }
    // The program's own: one fair fall left or right for each stalk but three.
    const double drawn = Report("Program's split, left = 1 + Binomial(stalks - 3, 1/2)",
                                CountLines(lines, divination::YarrowSplits()), lines);

    // A split point uniform over every place that leaves both heaps a stalk.
    std::mt19937_64 engine{std::random_device{}()};
    const divination::SplitSource uniform = [&engine](int stalks) {
        return std::uniform_int_distribution<int>(1, stalks - 2)(engine);
    };
    Report("Uniform split point, left in 1 ... stalks - 2", CountLines(lines, uniform), lines);
    return drawn <= 0.5 ? 0 : 1;
}
