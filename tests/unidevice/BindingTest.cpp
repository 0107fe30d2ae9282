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

TEST_F(BindingTest, ControlElementNamesDeviceTypeIndexAndDescription) {
    FakeDevice keyboard("Keyboard", 0);
    Control* control = keyboard.control(1);
    control->setType("T");
    control->setIndex(2);
    control->setDescription("D");
    const Element element = control->toXML();
    EXPECT_EQ(element.name(), "control");
    EXPECT_EQ(element.attributes(),
              (Attributes{{"device", "Keyboard"}, {"type", "T"}, {"index", "2"}}));
    ASSERT_EQ(element.childCount(), 1);
    EXPECT_EQ(element.child(0).name(), "description");
    EXPECT_EQ(element.child(0).text(), "Keyboard: D");
    EXPECT_EQ(element.toString("", "", ""),
              "<control device=\"Keyboard\" type=\"T\" index=\"2\"><description>Keyboard: "
              "D</description></control>");
}

TEST_F(BindingTest, DevindexIsWrittenOnlyWhenNotZeroAndFreeControlsHaveNoDevicePart) {
    FakeDevice second("Pad", 3);
    EXPECT_EQ(second.control(0)->toXML().attributes(),
              (Attributes{{"device", "Pad"}, {"devindex", "3"}, {"type", "axis"}, {"index", "0"}}));

    Control free(nullptr, ControlKind::Finite, 0.1);
    free.setType("A");
    free.setDescription("A key");
    const Element element = free.toXML();
    EXPECT_EQ(element.attributes(), (Attributes{{"type", "A"}, {"index", "0"}}));
    EXPECT_EQ(element.child("description").text(), "A key");
}

TEST_F(BindingTest, DeviceMatchingRules) {
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
}

TEST_F(BindingTest, ControlMatchingNeedsDeviceTypeAndIndex) {
    FakeDevice pad("Pad", 1);
    Control* axis = pad.control(1);
    EXPECT_TRUE(axis->matches(binding({{"device", "Pad"}, {"type", "axis"}, {"index", "1"}})));
    EXPECT_TRUE(axis->matches(binding({{"device", "Pad"}, {"type", "axis"}})));
    EXPECT_FALSE(axis->matches(binding({{"device", "Pad"}, {"type", "axis"}, {"index", "0"}})));
    EXPECT_FALSE(axis->matches(binding({{"device", "Pad"}, {"type", "Axis"}, {"index", "1"}})));
    EXPECT_FALSE(axis->matches(binding({{"device", "Pad"}, {"index", "1"}})));
    EXPECT_FALSE(axis->matches(binding({{"device", "Stick"}, {"type", "axis"}, {"index", "1"}})));
}

TEST_F(BindingTest, EveryControlIsFoundAgainFromItsOwnElement) {
    FakeDevice first("Pad", 0, 3);
    FakeDevice second("Pad", 1, 3);
    FakeDevice stick("Stick", 0, 3);
    for (FakeDevice* device : {&first, &second, &stick})
        for (int i = 0; i < device->controlCount(); ++i)
            EXPECT_EQ(handler()->findControl(device->control(i)->toXML()), device->control(i))
                << device->tag() << " axis " << i;
}

TEST_F(BindingTest, WithoutDevindexTheFirstDeviceOfTheNameWins) {
    FakeDevice other("Stick", 0);
    FakeDevice third("Pad", 3);
    FakeDevice first("Pad", 0);
    const Element anyPad = binding({{"device", "Pad"}, {"type", "axis"}, {"index", "1"}});
    EXPECT_EQ(handler()->findControl(anyPad), third.control(1));
    EXPECT_EQ(handler()->findControl(binding({{"device", "Pad"}, {"devindex", "2"},
                                              {"type", "axis"}})),
              nullptr);
    EXPECT_EQ(handler()->findControl(binding({{"device", "Pad"}, {"type", "button"}})), nullptr);
    EXPECT_EQ(handler()->findControl(Element()), nullptr);
}

TEST(NumberText, DecimalsAreReadLeniently) {
    EXPECT_EQ(readDecimal("12"), 12);
    EXPECT_EQ(readDecimal(" -7x"), -7);
    EXPECT_EQ(readDecimal("+3"), 3);
    EXPECT_EQ(readDecimal("abc"), 0);
    EXPECT_EQ(readDecimal(""), 0);
    EXPECT_EQ(readDecimal("99999999999999999999"), 2147483647);
    EXPECT_EQ(readDecimal("-99999999999999999999"), -2147483647 - 1);
}

} // namespace
} // namespace qvn::test
