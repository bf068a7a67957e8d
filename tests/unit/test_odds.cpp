// The expected shares of 6, 7, 8, 9 by method, the incomplete gamma function
// against closed forms and tables, and the chi-square verdict on fixed counts.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "divination/chi_square.h"
#include "divination/odds.h"

namespace {

using divination::Method;
using Verdict = divination::ValueFit::Verdict;

TEST(ExpectedShares, ThreeCoinsGiveOneThreeThreeOneEighths) {
    const auto shares = divination::ExpectedShares(Method::Coins);
    ASSERT_TRUE(shares);
    EXPECT_DOUBLE_EQ((*shares)[0], 1 / 8.0);
    EXPECT_DOUBLE_EQ((*shares)[1], 3 / 8.0);
    EXPECT_DOUBLE_EQ((*shares)[2], 3 / 8.0);
    EXPECT_DOUBLE_EQ((*shares)[3], 1 / 8.0);
}

TEST(ExpectedShares, StalksOfEitherKindGiveSixteenths) {
    for (Method method : {Method::Yarrow, Method::OwnThrowTotals}) {
        const auto shares = divination::ExpectedShares(method);
        ASSERT_TRUE(shares);
        EXPECT_DOUBLE_EQ((*shares)[0], 1 / 16.0);
        EXPECT_DOUBLE_EQ((*shares)[1], 5 / 16.0);
        EXPECT_DOUBLE_EQ((*shares)[2], 7 / 16.0);
        EXPECT_DOUBLE_EQ((*shares)[3], 3 / 16.0);
    }
}

TEST(ExpectedShares, OneCoinALineGivesNoChangingLine) {
    for (Method method : {Method::HeadsAndTails, Method::SemiAutomatic}) {
        const auto shares = divination::ExpectedShares(method);
        ASSERT_TRUE(shares);
        EXPECT_EQ((*shares)[0], 0);
        EXPECT_DOUBLE_EQ((*shares)[1], 0.5);
        EXPECT_DOUBLE_EQ((*shares)[2], 0.5);
        EXPECT_EQ((*shares)[3], 0);
    }
}

TEST(ExpectedShares, OnesOwnThrowHasNone) {
    EXPECT_FALSE(divination::ExpectedShares(Method::OwnThrow));
}

TEST(ExpectedShares, EveryMethodsSharesSumToOne) {
    for (Method method : {Method::Coins, Method::SemiAutomatic, Method::HeadsAndTails,
                          Method::Yarrow, Method::OwnThrowTotals}) {
        const auto shares = divination::ExpectedShares(method);
        EXPECT_DOUBLE_EQ(std::accumulate(shares->begin(), shares->end(), 0.0), 1.0);
    }
}

TEST(IncompleteGamma, MatchesClosedForms) {
    using divination::UpperGammaRegularized;
    for (double x : {0.01, 0.5, 1.0, 2.0, 7.5, 30.0}) {
        EXPECT_NEAR(UpperGammaRegularized(1, x), std::exp(-x), 1e-14) << x;
        EXPECT_NEAR(UpperGammaRegularized(0.5, x), std::erfc(std::sqrt(x)), 1e-13) << x;
        EXPECT_NEAR(UpperGammaRegularized(3, x), std::exp(-x) * (1 + x + x * x / 2), 1e-13) << x;
        EXPECT_NEAR(UpperGammaRegularized(1.5, x),
                    std::erfc(std::sqrt(x)) + 2 * std::sqrt(x / M_PI) * std::exp(-x), 1e-13)
            << x;
    }
    EXPECT_EQ(UpperGammaRegularized(2, 0), 1);
}

TEST(IncompleteGamma, RefusesWhatIsNoArgument) {
    EXPECT_THROW(divination::UpperGammaRegularized(0, 1), std::invalid_argument);
    EXPECT_THROW(divination::UpperGammaRegularized(1, -1), std::invalid_argument);
    EXPECT_THROW(divination::ChiSquareP(1, 0), std::invalid_argument);
}

TEST(ChiSquareP, AgreesWithTheTablesCriticalValues) {
    using divination::ChiSquareP;
    EXPECT_NEAR(ChiSquareP(3.84, 1), 0.050, 0.0005);
    EXPECT_NEAR(ChiSquareP(3.841459, 1), 0.05, 1e-6);
    EXPECT_NEAR(ChiSquareP(7.81, 3), 0.050, 0.0005);
    EXPECT_NEAR(ChiSquareP(7.814728, 3), 0.05, 1e-6);
    EXPECT_NEAR(ChiSquareP(11.34, 3), 0.010, 0.0005);
    EXPECT_NEAR(ChiSquareP(11.344867, 3), 0.01, 1e-6);
    EXPECT_NEAR(ChiSquareP(6.635, 1), 0.010, 0.0001);
    EXPECT_NEAR(ChiSquareP(79.082, 60), 0.05, 1e-4);
    EXPECT_NEAR(ChiSquareP(0, 3), 1, 1e-15);
}

TEST(ChiSquare, SumsOverTheCategoriesThatCanCome) {
    const auto test = divination::ChiSquare({0, 60, 40, 0}, {0, 0.5, 0.5, 0});
    EXPECT_FALSE(test.impossible);
    EXPECT_DOUBLE_EQ(test.chiSquare, 4);
    EXPECT_EQ(test.degrees, 1);
    EXPECT_NEAR(test.p, 0.0455003, 1e-6);
    EXPECT_DOUBLE_EQ(test.leastExpected, 50);
}

TEST(ChiSquare, ACategoryThatCantComeAndCameIsImpossible) {
    const auto test = divination::ChiSquare({1, 50, 50, 0}, {0, 0.5, 0.5, 0});
    EXPECT_TRUE(test.impossible);
    EXPECT_EQ(test.p, 0);
}

TEST(FitValues, CountsJustAsExpectedAreWithinChance) {
    const auto fit = divination::FitValues(Method::Coins, {10, 30, 30, 10});
    EXPECT_EQ(fit.verdict, Verdict::WithinChance);
    EXPECT_EQ(fit.lines, 80);
    EXPECT_NEAR(fit.chiSquare, 0, 1e-12);
    EXPECT_NEAR(fit.p, 1, 1e-12);
    EXPECT_NE(fit.sentence.find("В пределах случайного"), std::string::npos) << fit.sentence;
    EXPECT_NE(fit.sentence.find("p = 1,000"), std::string::npos) << fit.sentence;
}

TEST(FitValues, CoinsWithoutNinesDiffer) {
    // Expected 10, 30, 30, 10: χ² = 10 + 0 + 0 + 10 = 20 at 3 degrees.
    const auto fit = divination::FitValues(Method::Coins, {20, 30, 30, 0});
    EXPECT_EQ(fit.verdict, Verdict::Differs);
    EXPECT_DOUBLE_EQ(fit.chiSquare, 20);
    EXPECT_EQ(fit.degrees, 3);
    EXPECT_NEAR(fit.p, 0.000169742, 1e-8);
    EXPECT_NE(fit.sentence.find("Заметно отличается"), std::string::npos) << fit.sentence;
    EXPECT_NE(fit.sentence.find("p < 0,001"), std::string::npos) << fit.sentence;
    EXPECT_NE(fit.sentence.find("при 3 степенях свободы"), std::string::npos) << fit.sentence;
}

TEST(FitValues, TheThresholdIsFivePerCent) {
    // Heads and tails, 60 against 40: p = 0.0455; 55 against 45: p = 0.317.
    EXPECT_EQ(divination::FitValues(Method::HeadsAndTails, {0, 60, 40, 0}).verdict,
              Verdict::Differs);
    const auto fit = divination::FitValues(Method::HeadsAndTails, {0, 55, 45, 0});
    EXPECT_EQ(fit.verdict, Verdict::WithinChance);
    EXPECT_NEAR(fit.p, 0.3173105, 1e-6);
    EXPECT_NE(fit.sentence.find("при 1 степени свободы"), std::string::npos) << fit.sentence;
    EXPECT_NE(fit.sentence.find("p = 0,317"), std::string::npos) << fit.sentence;
}

TEST(FitValues, ChangingLinesByOneCoinDifferWhateverTheirNumber) {
    const auto fit = divination::FitValues(Method::SemiAutomatic, {0, 3, 2, 1});
    EXPECT_EQ(fit.verdict, Verdict::Differs);
    EXPECT_TRUE(fit.impossible);
    EXPECT_EQ(fit.p, 0);
    EXPECT_NE(fit.sentence.find("p = 0"), std::string::npos) << fit.sentence;
}

TEST(FitValues, TooFewLinesGiveNoVerdict) {
    // Stalks need 5 of the rarest value, 1/16: 80 lines; 79 are too few.
    auto fit = divination::FitValues(Method::Yarrow, {4, 25, 35, 15});
    EXPECT_EQ(fit.verdict, Verdict::TooFew);
    EXPECT_EQ(fit.linesNeeded, 80);
    EXPECT_NE(fit.sentence.find("хотя бы 80 черт, а здесь 79 черт"), std::string::npos)
        << fit.sentence;
    fit = divination::FitValues(Method::Yarrow, {5, 25, 35, 15});
    EXPECT_EQ(fit.verdict, Verdict::WithinChance);
    EXPECT_EQ(divination::FitValues(Method::Coins, {1, 3, 3, 1}).linesNeeded, 40);
    fit = divination::FitValues(Method::HeadsAndTails, {0, 1, 0, 0});
    EXPECT_EQ(fit.verdict, Verdict::TooFew);
    EXPECT_NE(fit.sentence.find("а здесь 1 черта"), std::string::npos) << fit.sentence;
}

TEST(FitValues, OwnThrowAndNoLinesSaySo) {
    auto fit = divination::FitValues(Method::OwnThrow, {1, 2, 3, 4});
    EXPECT_EQ(fit.verdict, Verdict::NoExpectation);
    EXPECT_EQ(fit.lines, 10);
    EXPECT_NE(fit.sentence.find("сравнивать не с чем"), std::string::npos);
    fit = divination::FitValues(Method::Coins, {0, 0, 0, 0});
    EXPECT_EQ(fit.verdict, Verdict::NoLines);
}

}  // namespace
