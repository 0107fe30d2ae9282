#include "FakeInput.h"
#include "unidevice/NumberText.h"

#include <gtest/gtest.h>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;
using mvk::util::xml::Tag;
using Attributes = std::vector<Element::Attribute>;

Element binding(std::initializer_list<Element::Attribute> attributes) {
    Element element = Tag("control");
    for (const auto& [name, value] : attributes)
        element.attribute(name) = value;
    return element;
}

class BindingTest : public InputTest {};

TEST_F(BindingTest, ElementNamesDeviceDevindexOnlyWhenNotZeroTypeIndexAndDescription) {
    FakeDevice keyboard("Keyboard", 0);
    Control* control = keyboard.control(1);
    control->setType("T");
    control->setIndex(2);
    control->setDescription("D");
    EXPECT_EQ(control->toXML().toString("", "", ""),
              "<control device=\"Keyboard\" type=\"T\" index=\"2\"><description>Keyboard: "
              "D</description></control>");
    FakeDevice second("Pad", 3);
    EXPECT_EQ(second.control(0)->toXML().attributes(),
              (Attributes{{"device", "Pad"}, {"devindex", "3"}, {"type", "axis"}, {"index", "0"}}));
    Control free(nullptr, ControlKind::Finite, 0.1);
    free.setType("A");
    free.setDescription("A key");
    EXPECT_EQ(free.toXML().toString("", "", ""),
              "<control type=\"A\" index=\"0\"><description>A key</description></control>");
}

TEST_F(BindingTest, MatchingRulesWithAndWithoutDevindex) {
    FakeDevice third("Pad", 3);
    FakeDevice first("Pad", 0);
    EXPECT_TRUE(third.matches(binding({{"device", "Pad"}})));
    EXPECT_TRUE(third.matches(binding({{"device", "Pad"}, {"devindex", "3"}})));
    EXPECT_FALSE(first.matches(binding({{"device", "Pad"}, {"devindex", "2"}})));
    EXPECT_FALSE(third.matches(binding({{"device", "pad"}})));
    EXPECT_FALSE(third.matches(binding({{"device", "Pad "}})));
    // No device name: any device, narrowed by devindex when one is given.
    EXPECT_TRUE(first.matches(binding({})));
    EXPECT_TRUE(third.matches(binding({{"devindex", "3"}})));
    EXPECT_FALSE(first.matches(binding({{"devindex", "3"}})));

    Control* axis = third.control(1);
    EXPECT_TRUE(axis->matches(binding({{"device", "Pad"}, {"type", "axis"}, {"index", "1"}})));
    EXPECT_TRUE(axis->matches(binding({{"device", "Pad"}, {"type", "axis"}})));
    EXPECT_FALSE(axis->matches(binding({{"device", "Pad"}, {"type", "axis"}, {"index", "0"}})));
    EXPECT_FALSE(axis->matches(binding({{"device", "Pad"}, {"type", "Axis"}, {"index", "1"}})));
    EXPECT_FALSE(axis->matches(binding({{"device", "Pad"}, {"index", "1"}})));
    EXPECT_FALSE(axis->matches(binding({{"device", "Stick"}, {"type", "axis"}, {"index", "1"}})));
}

TEST_F(BindingTest, FindControlRoundTripsAndWithoutDevindexTheFirstDeviceOfTheNameWins) {
    FakeDevice stick("Stick", 0, 3);
    FakeDevice third("Pad", 3, 3);
    FakeDevice first("Pad", 0, 3);
    for (FakeDevice* device : {&stick, &third})
        for (int i = 0; i < device->controlCount(); ++i)
            EXPECT_EQ(handler()->findControl(device->control(i)->toXML()), device->control(i))
                << device->tag() << " axis " << i;
    EXPECT_EQ(handler()->findControl(first.control(1)->toXML()), third.control(1));
    EXPECT_EQ(
        handler()->findControl(binding({{"device", "Pad"}, {"devindex", "2"}, {"type", "axis"}})),
        nullptr);
    EXPECT_EQ(handler()->findControl(binding({{"device", "Pad"}, {"type", "button"}})), nullptr);
    EXPECT_EQ(handler()->findControl(Element()), nullptr);
}

TEST(NumberText, DecimalsAreReadLenientlyAndClampedToInt32) {
    const std::pair<const char*, int32_t> cases[] = {
        {"12", 12}, {" -7x", -7}, {"+3", 3}, {"abc", 0}, {"", 0},
        {"99999999999999999999", 2147483647}, {"-99999999999999999999", -2147483647 - 1}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(readDecimal(text), value) << text;
}

} // namespace
} // namespace qvn::test
