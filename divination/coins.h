// The program's one random source and the three-coin rule.
#pragma once

#include <cstdint>

#include "divination/lines.h"

namespace divination {

// A clock value for the seed: the low 32 bits of the high-resolution
// counter, else milliseconds since the system started.
std::uint32_t ClockSeed();

// Seeds the generator. Called once, before any window exists.
void SeedCoinGenerator(std::uint32_t seed);

// Uniform over 0…999, without modulo bias.
int DrawCoinNumber();

// Odd is heads. Solid when at least two of the three are odd.
inline bool IsHeads(int coinNumber) {
    return coinNumber % 2 != 0;
}
Line LineFromCoins(int first, int second, int third);

}  // namespace divination
