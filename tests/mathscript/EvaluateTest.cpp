#include "ScriptFixture.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace qvn::test {
namespace {

class EvaluateTest : public ScriptFixture {
protected:
    static std::string binary(const std::string& tag, double a, double b) {
        return "<" + tag + "><constant>" + std::to_string(a) + "</constant><constant>" +
               std::to_string(b) + "</constant></" + tag + ">";
    }
};

TEST_F(EvaluateTest, DivisionByZeroFollowsFloatingPoint) {
    EXPECT_EQ(evaluate("<div><constant>1</constant><zero/></div>"),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(evaluate("<div><constant>-1</constant><zero/></div>"),
              -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(evaluate("<div><zero/><zero/></div>")));
    EXPECT_EQ(evaluate("<inv/>"), std::numeric_limits<double>::infinity());
}

TEST_F(EvaluateTest, ModKeepsTheSignOfTheDividend) {
    EXPECT_DOUBLE_EQ(evaluate(binary("mod", 5.5, 2)), 1.5);
    EXPECT_DOUBLE_EQ(evaluate(binary("mod", -5.5, 2)), -1.5);
    EXPECT_DOUBLE_EQ(evaluate(binary("mod", 5.5, -2)), 1.5);
    EXPECT_TRUE(std::isnan(evaluate(binary("mod", 5.5, 0))));
}

TEST_F(EvaluateTest, Atan2TakesYFirst) {
    EXPECT_DOUBLE_EQ(evaluate(binary("atan2", 1, 0)), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(evaluate(binary("atan2", 0, 1)), 0.0);
    EXPECT_DOUBLE_EQ(evaluate(binary("atan2", 0, -1)), std::numbers::pi);
}

TEST_F(EvaluateTest, ComparisonsGiveExactlyOneOrZero) {
    struct Case {
        const char* tag;
        double below, equal, above; // results for a < b, a == b, a > b
    };
    const Case cases[] = {{"greater", 0, 0, 1}, {"greater_equal", 0, 1, 1},
                          {"less", 1, 0, 0},    {"less_equal", 1, 1, 0},
                          {"equals", 0, 1, 0},  {"notequals", 1, 0, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(evaluate(binary(c.tag, 0.25, 0.5)), c.below) << c.tag;
        EXPECT_EQ(evaluate(binary(c.tag, 0.5, 0.5)), c.equal) << c.tag;
        EXPECT_EQ(evaluate(binary(c.tag, 0.75, 0.5)), c.above) << c.tag;
    }
}

TEST_F(EvaluateTest, NaNIsUnequalToEverythingIncludingItself) {
    const std::string nan = "<div><zero/><zero/></div>";
    EXPECT_EQ(evaluate("<equals>" + nan + nan + "</equals>"), 0.0);
    EXPECT_EQ(evaluate("<notequals>" + nan + nan + "</notequals>"), 1.0);
    EXPECT_EQ(evaluate("<notequals>" + nan + "<zero/></notequals>"), 1.0);
    EXPECT_EQ(evaluate("<greater>" + nan + "<zero/></greater>"), 0.0);
}

TEST_F(EvaluateTest, MissingOperandsCountAsZero) {
    EXPECT_DOUBLE_EQ(evaluate("<sub><constant>4</constant></sub>"), 4.0);
    EXPECT_DOUBLE_EQ(evaluate("<pow><constant>4</constant></pow>"), 1.0);
    EXPECT_DOUBLE_EQ(evaluate("<cos/>"), 1.0);
    EXPECT_DOUBLE_EQ(evaluate("<sum/>"), 0.0);
}

TEST_F(EvaluateTest, UnaryFunctionsWorkInRadians) {
    EXPECT_DOUBLE_EQ(evaluate("<sin><constant>1.5707963267948966</constant></sin>"), 1.0);
    EXPECT_DOUBLE_EQ(evaluate("<atan><constant>1</constant></atan>"), std::numbers::pi / 4);
    EXPECT_NEAR(evaluate("<tan><constant>0.7853981633974483</constant></tan>"), 1.0, 1e-15);
    EXPECT_DOUBLE_EQ(evaluate("<neg><constant>2.5</constant></neg>"), -2.5);
    EXPECT_DOUBLE_EQ(evaluate("<inv><constant>4</constant></inv>"), 0.25);
    EXPECT_TRUE(std::isnan(evaluate(binary("pow", -8, 1.0 / 3.0))));
}

} // namespace
} // namespace qvn::test
