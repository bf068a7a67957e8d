// The yarrow stalk procedure: held totals, the divisions of a cast, their
// sentences, and the generator that splits the stalks.
#include "divination/yarrow.h"

#include <algorithm>
#include <bit>

namespace divination {

bool IsPossibleTotal(int change, int total) {
    if (change == 1)
        return total == 5 || total == 9;
    if (change == 2 || change == 3)
        return total == 4 || total == 8;
    return false;
}

int ValueFromTotals(int first, int second, int third) {
    if (!IsPossibleTotal(1, first) || !IsPossibleTotal(2, second) || !IsPossibleTotal(3, third))
        return 0;
    // A small total (4 or 5) counts 3, a large one (8 or 9) counts 2.
    int value = 0;
    for (int total : {first, second, third})
        value += total <= 5 ? 3 : 2;
    return value;
}

std::optional<LineValues> ValuesFromTotals(const StalkTotals& totals) {
    LineValues values{};
    for (int line = 0; line < 6; ++line) {
        const int* t = &totals[kChangesPerLine * line];
        values[line] = ValueFromTotals(t[0], t[1], t[2]);
        if (!values[line])
            return std::nullopt;
    }
    return values;
}

namespace {

// Counting off by fours leaves 1…4, never nothing: a heap of twelve leaves four.
int RemainderByFours(int heap) {
    const int rest = heap % 4;
    return rest == 0 ? 4 : rest;
}

// «40 стеблей», «44 стебля», «41 стебель».
std::string Stalks(int n) {
    const int tens = n % 100, ones = n % 10;
    const char* word = "стеблей";
    if (ones == 1 && tens != 11)
        word = "стебель";
    else if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14))
        word = "стебля";
    return std::to_string(n) + " " + word;
}

const char* ValueWords(int value) {
    switch (value) {
        case kChangingBroken:
            return "шестёрка, прерывистая, изменяющаяся";
        case kSolid:
            return "семёрка, сплошная";
        case kBroken:
            return "восьмёрка, прерывистая";
        default:
            return "девятка, сплошная, изменяющаяся";
    }
}

}  // namespace

std::string Description(const Division& d) {
    std::string s = "Черта " + std::to_string(d.line) + ", перемена " + std::to_string(d.change) +
                    ": слева " + std::to_string(d.left) + ", справа " + std::to_string(d.right) +
                    ", один стебель справа зажат между пальцами, остатки " +
                    std::to_string(d.leftRemainder) + " и " + std::to_string(d.rightRemainder) +
                    ", в руке " + std::to_string(d.held);
    if (d.change < kChangesPerLine)
        return s + ", дальше " + Stalks(d.remaining) + ".";
    return s + "; осталось " + Stalks(d.remaining) + ", черта готова: " + ValueWords(d.value) + ".";
}

YarrowCast::YarrowCast(SplitSource split) : split_(std::move(split)) {
    divisions_.reserve(kDivisions);
}

Division YarrowCast::Next() {
    if (finished())
        return {};
    Division d;
    d.line = done() / kChangesPerLine + 1;
    d.change = done() % kChangesPerLine + 1;
    d.stalks = stalks_;
    // The left heap keeps one stalk and the right two, so that after its
    // stalk is taken the right still has one to count.
    d.left = std::clamp(split_(stalks_), 1, stalks_ - 2);
    d.right = stalks_ - d.left;
    d.taken = 1;
    d.leftRemainder = RemainderByFours(d.left);
    d.rightRemainder = RemainderByFours(d.right - d.taken);
    d.held = d.taken + d.leftRemainder + d.rightRemainder;
    d.remaining = stalks_ - d.held;
    totals_[done()] = d.held;
    if (d.change == kChangesPerLine) {
        const int first = kChangesPerLine * (d.line - 1);
        d.value = ValueFromTotals(totals_[first], totals_[first + 1], totals_[first + 2]);
        values_[d.line - 1] = d.value;
        stalks_ = kStalksInPlay;
    } else {
        stalks_ = d.remaining;
    }
    divisions_.push_back(d);
    return d;
}

void YarrowCast::Finish() {
    while (!finished())
        Next();
}

namespace {

// Eight words from the system's entropy for each generator, so no two share
// a sequence and nothing of the clock-seeded coin generator is reused.
std::mt19937_64 EntropySeeded() {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(),
                       device(), device(), device(), device()};
    return std::mt19937_64(seed);
}

}  // namespace

YarrowGenerator::YarrowGenerator() : engine_(EntropySeeded()) {}

YarrowGenerator::YarrowGenerator(std::uint64_t seed) : engine_(seed) {}

int YarrowGenerator::Split(int stalks) {
    // One fair bit for each stalk but three; the ones fall left. Forty-nine
    // stalks take a single 64-bit draw.
    int left = 1;
    for (int loose = stalks - 3; loose > 0; loose -= 64) {
        std::uint64_t bits = engine_();
        if (loose < 64)
            bits &= (std::uint64_t{1} << loose) - 1;
        left += std::popcount(bits);
    }
    return left;
}

SplitSource YarrowSplits() {
    static YarrowGenerator generator;
    return [](int stalks) { return generator.Split(stalks); };
}

}  // namespace divination
