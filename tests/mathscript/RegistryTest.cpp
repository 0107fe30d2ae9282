#include "ScriptFixture.h"

#include <vector>

namespace qvn::test {
namespace {

using namespace MathScript_Default;

class RegistryTest : public ScriptFixture {};

TEST_F(RegistryTest, RegistersTheFactoriesInTheirFixedOrder) {
    const std::vector<std::string> expected = {
        "zero", "constant",   "add",    "sub",       "mul", "div", "greater",  "greater_equal",
        "less", "less_equal", "equals", "notequals", "mod", "pow", "atan2",    "atan",
        "tan",  "sin",        "cos",    "inv",       "neg", "sum", "parameter"};
    auto* registry = MathScript::instance();
    ASSERT_EQ(registry->factoryCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < registry->factoryCount(); ++i)
        EXPECT_EQ(registry->factory(i)->name(), expected[static_cast<size_t>(i)]) << i;
}

TEST_F(RegistryTest, SecondRegistrationOfANameIsIgnored) {
    MathScript::existing()->destroy();
    // A factory registered first under "add" keeps the name for good.
    MathScript::instance()->add(new BinaryFunction<std::minus<double>>::Factory("add"));
    registerFactories();
    registerFactories();

    EXPECT_EQ(MathScript::instance()->factoryCount(), 23);
    EXPECT_DOUBLE_EQ(evaluate("<add><constant>5</constant><constant>2</constant></add>"), 3.0);
}

TEST_F(RegistryTest, UnknownRootTagsGiveNullAndNamesAreCaseSensitive) {
    EXPECT_EQ(build("<foo><constant>1</constant></foo>"), nullptr);
    EXPECT_EQ(build("<Add><constant>1</constant></Add>"), nullptr);
    EXPECT_EQ(build(""), nullptr);
}

TEST_F(RegistryTest, FunctionNodesWriteBackTheTagTheyWereCreatedUnder) {
    MathScript::instance()->add(new BinaryFunction<std::plus<double>>::Factory("plus"));
    MathScript::instance()->add(new UnaryFunction<std::negate<double>>::Factory("minus"));

    ScriptPtr script =
        build("<plus><minus><constant>2</constant></minus><constant>7</constant></plus>");
    ASSERT_NE(script, nullptr);
    EXPECT_DOUBLE_EQ(script->evaluate(), 5.0);
    EXPECT_EQ(render(script->toXML()), "plus(minus(constant(2)),constant(7))");
}

} // namespace
} // namespace qvn::test
