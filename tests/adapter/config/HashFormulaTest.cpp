#include <gtest/gtest.h>

#include <cmath>

#include "HashFormula.h"

namespace pontax {
namespace {

struct FormulaRow {
    const char* name;
    const char* text;
    double value;
};

class FormulaTest : public ::testing::TestWithParam<FormulaRow> {};

TEST_P(FormulaTest, Evaluates) {
    FormulaEvaluator evaluator;
    EXPECT_DOUBLE_EQ(evaluator.Evaluate(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, FormulaTest,
    ::testing::Values(FormulaRow{"Multiply", "HASH=64;HASH*1024", 65536},
                      FormulaRow{"DivideKeepsFraction", "HASH=64;HASH/3", 64.0 / 3},
                      FormulaRow{"EmptyFormulaGivesTheAssignment", "HASH=64;", 64},
                      FormulaRow{"DivisionByZeroZeroesTheTerm", "HASH=64;HASH/0", 0},
                      FormulaRow{"TokensAfterAZeroDivisorContinue", "HASH=64;HASH/0+5", 5},
                      FormulaRow{"UnaryMinusBindsTighterThanTimes", "HASH=64;-HASH*2", -128},
                      FormulaRow{"UnmatchedParenthesis", "HASH=64;(HASH+1", 0},
                      FormulaRow{"UnknownCharacterSeparates", "HASH=10;2^HASH", 10},
                      FormulaRow{"Exponent", "HASH=64;1.5E1", 15},
                      FormulaRow{"Square", "HASH=8;HASH*HASH", 64},
                      FormulaRow{"UnassignedNameIsZero", "HASH=64;SIZE", 0},
                      FormulaRow{"Precedence", "HASH=4;2+HASH*3-(1+1)/2", 13},
                      FormulaRow{"LineFeedSeparates", "HASH=4\nHASH+1", 5},
                      FormulaRow{"LoneDotEndsEvaluation", "HASH=4;.;HASH*2", 0},
                      FormulaRow{"OperatorInTheWrongPlace", "HASH=4;*3", 0},
                      FormulaRow{"NamesRespectCase", "HASH=4;hash", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormulaEvaluatorTest, VariablesKeepTheirValuesBetweenEvaluations) {
    FormulaEvaluator evaluator;
    EXPECT_DOUBLE_EQ(evaluator.Evaluate("HASH=1;N=N+1;HASH"), 1);
    EXPECT_DOUBLE_EQ(evaluator.Evaluate("HASH=2;N=N+1;N"), 2);
    EXPECT_DOUBLE_EQ(evaluator.Evaluate("N*10"), 20);
}

TEST(FormulaEvaluatorTest, HostileInputEndsWithoutCrashing) {
    FormulaEvaluator evaluator;
    EXPECT_TRUE(std::isfinite(evaluator.Evaluate("HASH=1;" + std::string(100000, '(') + "2)")));
    EXPECT_TRUE(std::isfinite(evaluator.Evaluate("HASH=1;" + std::string(100000, '-') + "3")));
    EXPECT_DOUBLE_EQ(evaluator.Evaluate("HASH=1;--3"), 3);
    EXPECT_DOUBLE_EQ(evaluator.Evaluate(std::string(3, '\0')), 0);
    EXPECT_DOUBLE_EQ(evaluator.Evaluate("HASH=64;" + std::string(2000, '(') + "HASH"), 0);
}

}  // namespace
}  // namespace pontax
