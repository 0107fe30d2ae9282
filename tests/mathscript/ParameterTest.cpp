#include "ScriptFixture.h"

namespace qvn::test {
namespace {

class ParameterTest : public ScriptFixture {};

TEST_F(ParameterTest, IndexBeyondTheCountReadsZeroUntilSetThenTheSequenceGrows) {
    ScriptPtr script = build("<parameter>3</parameter>");
    ASSERT_NE(script, nullptr);
    script->setParameter(0, 7.0);
    script->setParameter(1, 8.0);
    EXPECT_EQ(script->evaluate(), 0.0);

    script->setParameter(3, 2.0);
    ASSERT_EQ(script->parameterCount(), 4);
    EXPECT_EQ(script->parameter(0), 7.0);
    EXPECT_EQ(script->parameter(1), 8.0);
    EXPECT_EQ(script->parameter(2), 0.0);
    EXPECT_EQ(script->evaluate(), 2.0);
    EXPECT_EQ(script->parameter(4), 0.0);
}

TEST_F(ParameterTest, NegativeIndicesAreIgnoredAndReadZero) {
    ScriptPtr script = build("<add><parameter>-1</parameter><parameter>0</parameter></add>");
    ASSERT_NE(script, nullptr);
    script->setParameter(-1, 5.0);
    EXPECT_EQ(script->parameterCount(), 0);
    EXPECT_EQ(script->parameter(-1), 0.0);
    script->setParameter(0, 1.5);
    EXPECT_EQ(script->evaluate(), 1.5);

    ScriptPtr beyond = build("<sub><parameter>5</parameter><parameter>0</parameter></sub>");
    ASSERT_NE(beyond, nullptr);
    beyond->setParameter(0, 1.5);
    EXPECT_EQ(beyond->evaluate(), -1.5);
}

TEST_F(ParameterTest, ParametersLiveOnTheRootAndPersistBetweenEvaluations) {
    ScriptPtr script = build("<greater><parameter>0</parameter><constant>0.5</constant></greater>");
    ASSERT_NE(script, nullptr);
    MathScript* operand = script->child(0);
    ASSERT_NE(operand, nullptr);

    operand->setParameter(0, 0.7);
    EXPECT_EQ(script->parameter(0), 0.7);
    EXPECT_EQ(script->evaluate(), 1.0);
    EXPECT_EQ(script->evaluate(), 1.0);
    EXPECT_EQ(operand->evaluate(), 0.7);

    script->setParameter(0, 0.5);
    EXPECT_EQ(script->evaluate(), 0.0);
}

TEST_F(ParameterTest, AMovedSubtreeReadsItsNewRoot) {
    ScriptPtr left = build("<neg><parameter>0</parameter></neg>");
    ScriptPtr right = build("<sum/>");
    ASSERT_TRUE(left && right);
    left->setParameter(0, 1.0);
    right->setParameter(0, 4.0);
    MathScript* parameter = left->child(0);
    right->addChild(parameter);
    EXPECT_EQ(left->evaluate(), -0.0);
    EXPECT_EQ(right->evaluate(), 4.0);
}

} // namespace
} // namespace qvn::test
