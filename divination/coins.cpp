// The program's one random source, its seed from the clock, the three-coin rule.
#include "divination/coins.h"

#include <time.h>

#include <random>

#include "divination/changes.h"

namespace divination {

namespace {

std::mt19937& Generator() {
    static std::mt19937 generator;
    return generator;
}

}  // namespace

std::uint32_t ClockSeed() {
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC_RAW, &now) == 0 && now.tv_nsec != 0)
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000000000u +
                                          static_cast<std::uint64_t>(now.tv_nsec));
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                      static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
}

void SeedCoinGenerator(std::uint32_t seed) {
    Generator().seed(seed);
}

int DrawCoinNumber() {
    // Rejection sampling over the 32-bit output: every value is equally likely.
    constexpr std::uint32_t kRange = 1000;
    constexpr std::uint32_t kLimit = 0xFFFFFFFFu - (0xFFFFFFFFu % kRange + 1) % kRange;
    std::uint32_t value;
    do {
        value = Generator()();
    } while (value > kLimit);
    return static_cast<int>(value % kRange);
}

// The majority of three decides solid or broken, as it decides 7 or 8 and 9 or 6.
Line LineFromCoins(int first, int second, int third) {
    return LineOfValue(ValueFromCoins(first, second, third));
}

}  // namespace divination
