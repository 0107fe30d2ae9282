#include "ScriptFixture.h"

namespace qvn::test {
namespace {

class BuildWriteTest : public ScriptFixture {
protected:
    // The written form of the script built from `xmlText`.
    static std::string written(const std::string& xmlText) {
        ScriptPtr script = build(xmlText);
        return script ? render(script->toXML()) : "null";
    }
};

TEST_F(BuildWriteTest, UnknownFirstOperandLetsTheSecondMoveUp) {
    const std::string text = "<sub><foo/><constant>5</constant></sub>";
    EXPECT_DOUBLE_EQ(evaluate(text), 5.0);
    EXPECT_EQ(written(text), "sub(constant(5),zero())");
    EXPECT_EQ(written("<sub><foo/><bar/></sub>"), "sub(zero(),zero())");
}

TEST_F(BuildWriteTest, FunctionsAreWrittenWithTheirFullArity) {
    EXPECT_DOUBLE_EQ(evaluate("<add><constant>1</constant></add>"), 1.0);
    EXPECT_EQ(written("<add><constant>1</constant></add>"), "add(constant(1),zero())");
    EXPECT_EQ(written("<inv/>"), "inv(zero())");
    EXPECT_EQ(written("<zero/>"), "zero()");
}

TEST_F(BuildWriteTest, OperandsBeyondTheArityAreIgnored) {
    const std::string text =
        "<add><constant>1</constant><constant>2</constant><constant>4</constant></add>";
    EXPECT_DOUBLE_EQ(evaluate(text), 3.0);
    EXPECT_EQ(written(text), "add(constant(1),constant(2))");
    EXPECT_EQ(written("<neg><constant>1</constant><constant>2</constant></neg>"),
              "neg(constant(1))");
    // The third child is not even looked at, so an unknown one there changes nothing.
    EXPECT_EQ(written("<mul><foo/><constant>2</constant><constant>3</constant></mul>"),
              "mul(constant(2),zero())");
}

TEST_F(BuildWriteTest, SumSkipsUnknownChildrenAndKeepsOrder) {
    const std::string text = "<sum><constant>1</constant><foo><constant>9</constant></foo>"
                             "<parameter>0</parameter><constant>2</constant></sum>";
    EXPECT_DOUBLE_EQ(evaluate(text), 3.0);
    EXPECT_EQ(written(text), "sum(constant(1),parameter(0),constant(2))");
    EXPECT_EQ(written("<sum/>"), "sum()");
}

TEST_F(BuildWriteTest, UnreadableNumbersReadAsZero) {
    EXPECT_EQ(written("<constant>abc</constant>"), "constant(0)");
    EXPECT_EQ(written("<constant/>"), "constant(0)");
    EXPECT_EQ(written("<constant>1e999</constant>"), "constant(0)");
    EXPECT_EQ(written("<constant><inner/></constant>"), "constant(0)");
    EXPECT_EQ(written("<parameter>x</parameter>"), "parameter(0)");
    EXPECT_EQ(written("<parameter>99999999999</parameter>"), "parameter(0)");
    // Stream extraction stops at the first character that does not fit.
    EXPECT_EQ(written("<constant>2.5abc</constant>"), "constant(2.5)");
    EXPECT_EQ(written("<parameter>3.7</parameter>"), "parameter(3)");
    EXPECT_EQ(written("<parameter>-2</parameter>"), "parameter(-2)");
}

TEST_F(BuildWriteTest, ConstantsAreWrittenWithSixSignificantDigits) {
    EXPECT_EQ(written("<constant>3.14159265</constant>"), "constant(3.14159)");
    EXPECT_EQ(written("<constant>1234567</constant>"), "constant(1.23457e+06)");
    EXPECT_EQ(written("<constant>0.0000001</constant>"), "constant(1e-07)");
    EXPECT_EQ(written("<constant>-0.5</constant>"), "constant(-0.5)");
}

TEST_F(BuildWriteTest, WrittenScriptBuildsTheSameScriptAgain) {
    const std::string text =
        "<greater><div><add><mul><parameter>0</parameter><constant>2.5</constant></mul>"
        "<sin><parameter>1</parameter></sin></add><add><constant>1</constant>"
        "<atan2><parameter>2</parameter><parameter>3</parameter></atan2></add></div>"
        "<constant>0.5</constant></greater>";
    ScriptPtr first = build(text);
    ASSERT_NE(first, nullptr);
    const mvk::util::xml::Element firstXML = first->toXML();
    ScriptPtr second(MathScript::instance()->create(firstXML));
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->toXML().deepEquals(firstXML));
    EXPECT_EQ(render(firstXML), "greater(div(add(mul(parameter(0),constant(2.5)),"
                                "sin(parameter(1))),add(constant(1),atan2(parameter(2),"
                                "parameter(3)))),constant(0.5))");
}

TEST_F(BuildWriteTest, OperandsFollowEditsOfTheTree) {
    ScriptPtr script = build("<sub><constant>5</constant><constant>2</constant></sub>");
    ScriptPtr other = build("<sum/>");
    ASSERT_TRUE(script && other);

    script->child(0)->destroy();
    EXPECT_DOUBLE_EQ(script->evaluate(), 2.0);
    EXPECT_EQ(render(script->toXML()), "sub(constant(2),zero())");

    script->insertChild(new MathScript_Default::Constant(10), 0);
    EXPECT_DOUBLE_EQ(script->evaluate(), 8.0);

    other->addChild(script->child(1));
    EXPECT_DOUBLE_EQ(script->evaluate(), 10.0);
    EXPECT_DOUBLE_EQ(other->evaluate(), 2.0);

    // Moving the first operand behind the second swaps them.
    other->addChild(new MathScript_Default::Constant(1));
    script->addChild(other->child(1));
    script->insertChild(script->child(0), 2);
    EXPECT_DOUBLE_EQ(script->evaluate(), -9.0);
}

} // namespace
} // namespace qvn::test
