// Expression scripts: the registry, evaluation, building from and writing to XML, parameters
// and the limits that keep hostile scripts off the stack.
#include "ScriptFixture.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;
using mvk::util::xml::Tag;
using mvk::util::xml::TagWithData;
using namespace MathScript_Default;

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Max = std::numeric_limits<double>::max();

std::string binary(const std::string& tag, double a, double b) {
    return "<" + tag + "><constant>" + std::to_string(a) + "</constant><constant>" +
           std::to_string(b) + "</constant></" + tag + ">";
}

using ScriptTest = ScriptFixture;

TEST_F(ScriptTest, RegistersTheFactoriesInTheirFixedOrderOncePerName) {
    auto* registry = MathScript::instance();
    ASSERT_EQ(registry->factoryCount(), 23);
    EXPECT_EQ(registry->factory(0)->name(), "zero");
    EXPECT_EQ(registry->factory(12)->name(), "mod");
    EXPECT_EQ(registry->factory(22)->name(), "parameter");

    // A second registration of a name is ignored: a factory registered first under "add" keeps
    // the name for good.
    registry->destroy();
    MathScript::instance()->add(new BinaryFunction<std::minus<double>>::Factory("add"));
    registerFactories();
    registerFactories();
    EXPECT_EQ(MathScript::instance()->factoryCount(), 23);
    EXPECT_DOUBLE_EQ(evaluate("<add><constant>5</constant><constant>2</constant></add>"), 3.0);
}

TEST_F(ScriptTest, NodesWriteBackTheirOwnTagAndUnknownRootsGiveNull) {
    MathScript::instance()->add(new BinaryFunction<std::plus<double>>::Factory("plus"));
    MathScript::instance()->add(new UnaryFunction<std::negate<double>>::Factory("minus"));
    ScriptPtr script =
        build("<plus><minus><constant>2</constant></minus><constant>7</constant></plus>");
    ASSERT_NE(script, nullptr);
    EXPECT_DOUBLE_EQ(script->evaluate(), 5.0);
    EXPECT_EQ(render(script->toXML()), "plus(minus(constant(2)),constant(7))");

    EXPECT_EQ(build("<foo><constant>1</constant></foo>"), nullptr);
    EXPECT_EQ(build("<Add><constant>1</constant></Add>"), nullptr); // names compare exactly
    EXPECT_EQ(build(""), nullptr);
}

TEST_F(ScriptTest, Arithmetic) {
    const std::pair<std::string, double> cases[] = {
        // Division by zero follows floating point.
        {"<div><constant>1</constant><zero/></div>", Inf},
        {"<div><zero/><zero/></div>", NaN},
        // mod keeps the sign of the dividend.
        {binary("mod", -5.5, 2), -1.5},
        {binary("mod", 5.5, -2), 1.5},
        // atan2 takes y first.
        {binary("atan2", 0, -1), std::numbers::pi},
        // Missing operands count as zero.
        {"<sub><constant>4</constant></sub>", 4.0},
        {"<pow><constant>4</constant></pow>", 1.0},
        // Radians.
        {"<sin><constant>1.5707963267948966</constant></sin>", 1.0},
        {"<inv><constant>4</constant></inv>", 0.25},
    };
    for (const auto& [text, expected] : cases) {
        const double value = evaluate(text);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(value)) << text;
        else
            EXPECT_DOUBLE_EQ(value, expected) << text;
    }
}

TEST_F(ScriptTest, ComparisonsGiveExactlyOneOrZeroAndNaNEqualsNothing) {
    struct Case {
        const char* tag;
        double below, equal, above, withNaN; // a < b, a == b, a > b, a NaN
    };
    const Case cases[] = {{"greater", 0, 0, 1, 0}, {"greater_equal", 0, 1, 1, 0},
                          {"less", 1, 0, 0, 0},    {"less_equal", 1, 1, 0, 0},
                          {"equals", 0, 1, 0, 0},  {"notequals", 1, 0, 1, 1}};
    const std::string nan = "<div><zero/><zero/></div>";
    for (const Case& c : cases) {
        const std::string tag = c.tag;
        EXPECT_EQ(evaluate(binary(tag, 0.25, 0.5)), c.below) << tag;
        EXPECT_EQ(evaluate(binary(tag, 0.5, 0.5)), c.equal) << tag;
        EXPECT_EQ(evaluate(binary(tag, 0.75, 0.5)), c.above) << tag;
        EXPECT_EQ(evaluate("<" + tag + ">" + nan + "<zero/></" + tag + ">"), c.withNaN) << tag;
        EXPECT_EQ(evaluate("<" + tag + ">" + nan + nan + "</" + tag + ">"), c.withNaN) << tag;
    }
}

// Each script is built, evaluated without parameters, written, and built again from what was
// written, which must write the same.
TEST_F(ScriptTest, BuildingAndWriting) {
    struct Case {
        std::string text;
        std::string written;
        double value;
    };
    const Case cases[] = {
        // An unknown first operand is not appended, so the second moves up.
        {"<sub><foo/><constant>5</constant></sub>", "sub(constant(5),zero())", 5},
        // Functions are written with their full arity; extra operands are not even looked at.
        {"<inv/>", "inv(zero())", Inf},
        {"<add><constant>1</constant><constant>2</constant><constant>4</constant></add>",
         "add(constant(1),constant(2))", 3},
        {"<mul><foo/><constant>2</constant><constant>3</constant></mul>", "mul(constant(2),zero())",
         0},
        // sum skips unknown children and keeps the order.
        {"<sum><constant>1</constant><foo><constant>9</constant></foo>"
         "<parameter>0</parameter><constant>2</constant></sum>",
         "sum(constant(1),parameter(0),constant(2))", 3},
        // Numbers read as stream extraction reads them: no number gives 0, an overflow the
        // type's limit, and reading stops at the first character that does not fit; constants
        // are written with six significant digits.
        {"<constant>abc</constant>", "constant(0)", 0},
        {"<constant>-1e999</constant>", "constant(-1.79769e+308)", -Max},
        {"<parameter>99999999999</parameter>", "parameter(2147483647)", 0},
        {"<constant>2.5abc</constant>", "constant(2.5)", 2.5},
        {"<parameter>3.7</parameter>", "parameter(3)", 0},
        {"<constant>1234567</constant>", "constant(1.23457e+06)", 1234567},
        {TypicalScript,
         "greater(div(add(mul(parameter(0),constant(2.5)),sin(parameter(1))),"
         "add(constant(1),atan2(parameter(2),parameter(3)))),constant(0.5))",
         0},
    };
    for (const Case& c : cases) {
        ScriptPtr script = build(c.text);
        ASSERT_NE(script, nullptr) << c.text;
        EXPECT_DOUBLE_EQ(script->evaluate(), c.value) << c.text;
        const Element written = script->toXML();
        EXPECT_EQ(render(written), c.written) << c.text;
        ScriptPtr again = build(written);
        ASSERT_NE(again, nullptr) << c.text;
        EXPECT_TRUE(again->toXML().deepEquals(written)) << c.text;
    }
}

TEST_F(ScriptTest, ParametersLiveOnTheRootGrowWhenSetAndFollowEditsOfTheTree) {
    ScriptPtr script = build("<sub><parameter>3</parameter><parameter>-1</parameter></sub>");
    ASSERT_NE(script, nullptr);
    script->setParameter(0, 7.0);
    script->setParameter(-1, 5.0);
    EXPECT_EQ(script->parameterCount(), 1);
    EXPECT_EQ(script->parameter(-1), 0.0);
    EXPECT_EQ(script->evaluate(), 0.0);

    // Set through an operand, the value lands on the root; the sequence grows with zeros.
    script->child(0)->setParameter(3, 2.0);
    ASSERT_EQ(script->parameterCount(), 4);
    EXPECT_EQ(script->parameter(0), 7.0);
    EXPECT_EQ(script->parameter(2), 0.0);
    EXPECT_EQ(script->evaluate(), 2.0);
    EXPECT_EQ(script->child(0)->evaluate(), 2.0);

    // Operands follow edits of the tree, and a moved subtree reads the parameters of its new
    // root.
    ScriptPtr other = build("<sum/>");
    ASSERT_NE(other, nullptr);
    other->setParameter(3, 4.0);
    script->child(1)->destroy();
    EXPECT_EQ(render(script->toXML()), "sub(parameter(3),zero())");
    script->insertChild(new Constant(10), 0);
    EXPECT_DOUBLE_EQ(script->evaluate(), 8.0);
    other->addChild(script->child(1));
    EXPECT_DOUBLE_EQ(script->evaluate(), 10.0);
    EXPECT_DOUBLE_EQ(other->evaluate(), 4.0);
}

// `depth` nested levels: negations around a constant 1.
Element negationChain(int depth) {
    Element chain = TagWithData("constant", "1");
    for (int level = 1; level < depth; ++level) {
        Element outer = Tag("neg");
        outer.addChild(std::move(chain));
        chain = std::move(outer);
    }
    return chain;
}

TEST_F(ScriptTest, TooDeepScriptsAreRefusedAsAWhole) {
    ScriptPtr deepest = build(negationChain(MathScript::MaxDepth));
    ASSERT_NE(deepest, nullptr);
    EXPECT_EQ(deepest->evaluate(), MathScript::MaxDepth % 2 == 1 ? 1.0 : -1.0);
    // Levels below the written root: the negations and the constant's text.
    const Element written = deepest->toXML();
    int levels = 0;
    for (const Element* level = &written; level->childCount() > 0; level = &level->child(0))
        ++levels;
    EXPECT_EQ(levels, MathScript::MaxDepth);

    EXPECT_EQ(build(negationChain(MathScript::MaxDepth + 1)), nullptr);
    Element sum = Tag("sum");
    sum.addChild(TagWithData("constant", "1"));
    sum.addChild(negationChain(MathScript::MaxDepth));
    EXPECT_EQ(build(sum), nullptr);
    // A refusal leaves nothing behind for the next build.
    EXPECT_DOUBLE_EQ(evaluate("<add><constant>1</constant><constant>2</constant></add>"), 3.0);
}

TEST_F(ScriptTest, ASumTakesAnyNumberOfOperands) {
    constexpr int Operands = 100000;
    Element wide = Tag("sum");
    for (int i = 1; i <= Operands; ++i) {
        if (i % 2 == 1) {
            wide.addChild(TagWithData("constant", std::to_string(i)));
            continue;
        }
        wide.addChild(Tag("unknown")); // skipped, so it does not count
        wide.addChild(TagWithData("parameter", "0"));
    }
    ScriptPtr script = build(wide);
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(script->childCount(), Operands);
    script->setParameter(0, 2.0);
    // The odd numbers up to 99999 (50000 squared) and 50000 parameters of 2.
    EXPECT_DOUBLE_EQ(script->evaluate(), 2.5e9 + 1e5);

    ScriptPtr again = build(script->toXML());
    ASSERT_NE(again, nullptr);
    again->setParameter(0, 2.0);
    EXPECT_DOUBLE_EQ(again->evaluate(), script->evaluate());
}

} // namespace
} // namespace qvn::test
