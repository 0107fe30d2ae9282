#include "ScriptFixture.h"

namespace qvn::test {
namespace {

using mvk::util::xml::Element;
using mvk::util::xml::Tag;
using mvk::util::xml::TagWithData;

class LimitsTest : public ScriptFixture {
protected:
    // `depth` nested levels: negations around a constant 1.
    static Element negationChain(int depth) {
        Element chain = TagWithData("constant", "1");
        for (int level = 1; level < depth; ++level) {
            Element outer = Tag("neg");
            outer.addChild(std::move(chain));
            chain = std::move(outer);
        }
        return chain;
    }

    static Element sumOfZeros(int operands) {
        Element sum = Tag("sum");
        for (int i = 0; i < operands; ++i)
            sum.addChild(Tag("zero"));
        return sum;
    }

    static int levelsBelow(const Element& element) {
        int depth = 0;
        for (const Element* level = &element; level->childCount() > 0; level = &level->child(0))
            ++depth;
        return depth;
    }

    static ScriptPtr buildElement(const Element& element) {
        return ScriptPtr(MathScript::instance()->create(element));
    }
};

TEST_F(LimitsTest, ScriptAtTheDepthLimitBuildsEvaluatesWritesAndDies) {
    ScriptPtr script = buildElement(negationChain(MathScript::MaxDepth));
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(script->evaluate(), MathScript::MaxDepth % 2 == 1 ? 1.0 : -1.0);
    // Levels below the root element: the negations and the constant's text.
    EXPECT_EQ(levelsBelow(script->toXML()), MathScript::MaxDepth);
}

TEST_F(LimitsTest, DeeperScriptIsRefusedAsAWhole) {
    EXPECT_EQ(buildElement(negationChain(MathScript::MaxDepth + 1)), nullptr);

    Element sum = Tag("sum");
    sum.addChild(TagWithData("constant", "1"));
    sum.addChild(negationChain(MathScript::MaxDepth));
    EXPECT_EQ(buildElement(sum), nullptr);

    // A refusal leaves nothing behind for the next build.
    EXPECT_DOUBLE_EQ(evaluate("<add><constant>1</constant><constant>2</constant></add>"), 3.0);
}

TEST_F(LimitsTest, SumWithTooManyOperandsIsRefused) {
    ScriptPtr widest = buildElement(sumOfZeros(MathScript::MaxSumOperands));
    ASSERT_NE(widest, nullptr);
    EXPECT_EQ(widest->childCount(), MathScript::MaxSumOperands);
    EXPECT_EQ(buildElement(sumOfZeros(MathScript::MaxSumOperands + 1)), nullptr);

    // Skipped children do not count.
    Element sum = sumOfZeros(MathScript::MaxSumOperands);
    sum.addChild(Tag("unknown"));
    EXPECT_NE(buildElement(sum), nullptr);
}

} // namespace
} // namespace qvn::test
