// Yarrow stalks: held totals to values, the divisions of a cast, their
// sentences, and a generator that leaves the coins' sequence alone.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <vector>

#include "divination/coins.h"
#include "divination/interpretation.h"
#include "divination/yarrow.h"

using namespace divination;

TEST(StalkTotals, GiveTheValueOfEveryPossibleLine) {
    // Small totals (5, 4) count three, large (9, 8) two.
    struct Row {
        int first, second, third, value;
    };
    const std::vector<Row> possible = {
        {5, 4, 4, 9}, {5, 4, 8, 8}, {5, 8, 4, 8}, {9, 4, 4, 8},
        {5, 8, 8, 7}, {9, 4, 8, 7}, {9, 8, 4, 7}, {9, 8, 8, 6},
    };
    for (const Row& r : possible)
        EXPECT_EQ(ValueFromTotals(r.first, r.second, r.third), r.value)
            << r.first << r.second << r.third;
    // Every other combination up to 13 cannot come of the stalks.
    int refused = 0;
    for (int a = -1; a <= 13; ++a) {
        for (int b = -1; b <= 13; ++b) {
            for (int c = -1; c <= 13; ++c) {
                const bool listed = (a == 5 || a == 9) && (b == 4 || b == 8) && (c == 4 || c == 8);
                if (!listed) {
                    EXPECT_EQ(ValueFromTotals(a, b, c), 0) << a << " " << b << " " << c;
                    ++refused;
                }
            }
        }
    }
    EXPECT_EQ(refused, 15 * 15 * 15 - 8);
}

TEST(StalkTotals, AreRefusedWhereTheyCannotOccur) {
    for (int total = -1; total <= 13; ++total) {
        EXPECT_EQ(IsPossibleTotal(1, total), total == 5 || total == 9) << total;
        EXPECT_EQ(IsPossibleTotal(2, total), total == 4 || total == 8) << total;
        EXPECT_EQ(IsPossibleTotal(3, total), total == 4 || total == 8) << total;
        EXPECT_FALSE(IsPossibleTotal(0, total));
        EXPECT_FALSE(IsPossibleTotal(4, total));
    }
}

TEST(StalkTotals, MakeSixValuesOrNone) {
    const StalkTotals totals = {5, 4, 4, 9, 8, 8, 5, 8, 8, 9, 4, 8, 5, 4, 8, 9, 8, 4};
    EXPECT_EQ(ValuesFromTotals(totals), (LineValues{9, 6, 7, 7, 8, 7}));
    StalkTotals wrong = totals;
    wrong[16] = 9;  // line 6, second change: 4 or 8 only
    EXPECT_EQ(ValuesFromTotals(wrong), std::nullopt);
    EXPECT_EQ(ValuesFromTotals(StalkTotals{}), std::nullopt);
    EXPECT_TRUE(HasTotals(Method::Yarrow));
    EXPECT_TRUE(HasTotals(Method::OwnThrowTotals));
    EXPECT_FALSE(HasTotals(Method::Coins));
    EXPECT_FALSE(HasTotals(Method::OwnThrow));
}

namespace {

// Always divides in half, the left heap the smaller.
int Half(int stalks) {
    return stalks / 2;
}

// Hands out the given left heaps in order.
SplitSource Script(std::deque<int> lefts) {
    auto queue = std::make_shared<std::deque<int>>(std::move(lefts));
    return [queue](int) {
        const int n = queue->front();
        queue->pop_front();
        return n;
    };
}

// Every number of every division agrees with the procedure, and a line's
// value agrees with its totals and with the stalks left after it.
void ExpectAFaithfulCast(const YarrowCast& cast) {
    const std::vector<Division>& ds = cast.divisions();
    ASSERT_EQ(static_cast<int>(ds.size()), cast.done());
    for (std::size_t i = 0; i < ds.size(); ++i) {
        const Division& d = ds[i];
        SCOPED_TRACE(Description(d));
        EXPECT_EQ(d.line, static_cast<int>(i) / 3 + 1);
        EXPECT_EQ(d.change, static_cast<int>(i) % 3 + 1);
        EXPECT_EQ(d.stalks, d.change == 1 ? 49 : ds[i - 1].remaining);
        EXPECT_EQ(d.left + d.right, d.stalks);
        // Neither heap is empty when it is counted.
        EXPECT_GE(d.left, 1);
        EXPECT_GE(d.right - 1, 1);
        EXPECT_EQ(d.taken, 1);
        EXPECT_TRUE(d.leftRemainder >= 1 && d.leftRemainder <= 4);
        EXPECT_TRUE(d.rightRemainder >= 1 && d.rightRemainder <= 4);
        EXPECT_EQ((d.left - d.leftRemainder) % 4, 0);
        EXPECT_EQ((d.right - 1 - d.rightRemainder) % 4, 0);
        EXPECT_EQ(d.held, 1 + d.leftRemainder + d.rightRemainder);
        EXPECT_TRUE(IsPossibleTotal(d.change, d.held));
        EXPECT_EQ(d.remaining, d.stalks - d.held);
        EXPECT_EQ(cast.totals()[i], d.held);
        if (d.change == 1) {
            EXPECT_TRUE(d.remaining == 44 || d.remaining == 40);
        }
        if (d.change == 3) {
            EXPECT_EQ(d.value, ValueFromTotals(ds[i - 2].held, ds[i - 1].held, d.held));
            EXPECT_EQ(d.remaining, 4 * d.value);  // the old count: 24, 28, 32 or 36
            EXPECT_EQ(cast.values()[d.line - 1], d.value);
        } else {
            EXPECT_EQ(d.value, 0);
        }
    }
    for (int line = cast.done() / 3 + 1; line <= 6; ++line)
        EXPECT_EQ(cast.values()[line - 1], 0) << line;
}

}  // namespace

TEST(YarrowCast, DividesOneChangeAtATime) {
    YarrowCast cast(Half);
    EXPECT_EQ(cast.done(), 0);
    EXPECT_EQ(cast.values(), LineValues{});
    const Division first = cast.Next();
    // 24 | 25; the right less its stalk is 24: remainders 4 and 4, 9 held.
    EXPECT_EQ(first, (Division{1, 1, 49, 24, 25, 1, 4, 4, 9, 40, 0}));
    EXPECT_EQ(cast.Next(), (Division{1, 2, 40, 20, 20, 1, 4, 3, 8, 32, 0}));
    EXPECT_EQ(cast.Next(), (Division{1, 3, 32, 16, 16, 1, 4, 3, 8, 24, 6}));
    EXPECT_EQ(cast.done(), 3);
    EXPECT_EQ(cast.values(), (LineValues{6, 0, 0, 0, 0, 0}));
    EXPECT_EQ(cast.Next().stalks, 49);  // the next line starts again with all
    ExpectAFaithfulCast(cast);
    EXPECT_FALSE(cast.finished());
}

TEST(YarrowCast, EighteenDivisionsMakeSixLinesThenNothingMore) {
    auto generator = std::make_shared<YarrowGenerator>(2024);
    YarrowCast cast([generator](int stalks) { return generator->Split(stalks); });
    cast.Finish();
    EXPECT_TRUE(cast.finished());
    EXPECT_EQ(cast.done(), 18);
    ExpectAFaithfulCast(cast);
    EXPECT_EQ(ValuesFromTotals(cast.totals()), cast.values());
    const Division none = cast.Next();
    EXPECT_EQ(none.line, 0);
    EXPECT_EQ(cast.done(), 18);
    EXPECT_EQ(cast.divisions().size(), 18u);
}

// Whatever left heap a source asks for, both heaps keep a stalk to count:
// the edges themselves, beyond them, and the program's own generator.
TEST(YarrowCast, NeverCountsAnEmptyHeap) {
    const std::vector<SplitSource> sources = {
        [](int) { return 0; },
        [](int) { return -7; },
        [](int stalks) { return stalks; },
        [](int stalks) { return stalks - 1; },
        [](int) { return 1000; },
        [](int) { return 1; },
        [](int stalks) { return stalks - 2; },
        YarrowSplits(),
    };
    for (const SplitSource& source : sources) {
        YarrowCast cast(source);
        cast.Finish();
        ExpectAFaithfulCast(cast);
    }
    // Asked for no left heap, or for all 49, it keeps one stalk left, or two right.
    YarrowCast edges(Script({0, 49}));
    EXPECT_EQ(edges.Next().left, 1);
    EXPECT_EQ(edges.Next().right, 2);
}

TEST(YarrowCast, FollowsTheProcedureForManySplits) {
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        auto generator = std::make_shared<YarrowGenerator>(seed);
        YarrowCast cast([generator](int stalks) { return generator->Split(stalks); });
        for (int press = 0; press < 18; ++press) {
            cast.Next();
            ASSERT_EQ(cast.done(), press + 1);
        }
        ExpectAFaithfulCast(cast);
        ASSERT_EQ(ValuesFromTotals(cast.totals()), cast.values()) << seed;
    }
}

TEST(YarrowCast, SaysEachDivisionInOneSentence) {
    YarrowCast cast(Script({24, 21, 17, 21}));
    EXPECT_EQ(Description(cast.Next()),
              "Черта 1, перемена 1: слева 24, справа 25, один стебель справа зажат между "
              "пальцами, остатки 4 и 4, в руке 9, дальше 40 стеблей.");
    EXPECT_EQ(Description(cast.Next()),
              "Черта 1, перемена 2: слева 21, справа 19, один стебель справа зажат между "
              "пальцами, остатки 1 и 2, в руке 4, дальше 36 стеблей.");
    EXPECT_EQ(Description(cast.Next()),
              "Черта 1, перемена 3: слева 17, справа 19, один стебель справа зажат между "
              "пальцами, остатки 1 и 2, в руке 4; осталось 32 стебля, черта готова: восьмёрка, "
              "прерывистая.");
    // 49 − 5: the count agrees with its number.
    EXPECT_NE(Description(cast.Next()).find("дальше 44 стебля."), std::string::npos);
}

TEST(YarrowGenerator, SplitsWithinTheHeapsAndRepeatsForASeed) {
    YarrowGenerator a(77), b(77), entropy, other;
    std::vector<int> fromEntropy, fromOther;
    for (int draw = 0; draw < 2000; ++draw) {
        const int stalks = 3 + draw % 47;  // 3…49
        const int left = a.Split(stalks);
        ASSERT_GE(left, 1) << stalks;
        ASSERT_LE(left, stalks - 2) << stalks;
        ASSERT_EQ(b.Split(stalks), left);
        fromEntropy.push_back(entropy.Split(49));
        fromOther.push_back(other.Split(49));
    }
    // Two generators seeded from the system's entropy do not share a sequence.
    EXPECT_NE(fromEntropy, fromOther);
}

// The yarrow cast has a generator of its own: the coins drawn after it are
// the ones that would have been drawn without it.
TEST(YarrowGenerator, LeavesTheCoinSequenceAsItWas) {
    SeedCoinGenerator(4711);
    std::vector<int> without;
    for (int i = 0; i < 36; ++i)
        without.push_back(DrawCoinNumber());

    SeedCoinGenerator(4711);
    std::vector<int> with;
    for (int i = 0; i < 18; ++i)
        with.push_back(DrawCoinNumber());
    YarrowCast programs(YarrowSplits());
    programs.Finish();
    YarrowGenerator own;
    YarrowCast another([&own](int stalks) { return own.Split(stalks); });
    another.Finish();
    for (int i = 0; i < 18; ++i)
        with.push_back(DrawCoinNumber());
    EXPECT_EQ(with, without);
}
