#include "FakeInput.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;
using mvk::util::xml::Tag;
using mvk::util::xml::TagWithData;

double curve(double raw, double multiplier, double exponent, double deadzone, double offset) {
    return Property::response(raw, multiplier, exponent, deadzone, offset);
}

TEST(ResponseCurve, DeadZoneIsCutSymmetricallyAndStretchedBeforeTheExponent) {
    EXPECT_DOUBLE_EQ(curve(0.1, 1, 2, 0.1, 0), 0.0);
    EXPECT_DOUBLE_EQ(curve(-0.55, 1, 2, 0.1, 0), -0.25);  // sign after the exponent
    EXPECT_DOUBLE_EQ(curve(0.55, 1, 2, 0.1, 0), 0.25);
    EXPECT_DOUBLE_EQ(curve(1.0, 1, 2, 0.1, 0), 1.0);
    EXPECT_DOUBLE_EQ(curve(-0.05, 1, 1, 0.1, 0), 0.0);
    EXPECT_DOUBLE_EQ(curve(-0.55, 1, 3, 0.1, 0), -0.125);
}

TEST(ResponseCurve, DefaultsMultiplierAndOffset) {
    EXPECT_DOUBLE_EQ(curve(0.55, 1, 1, 0.1, 0), 0.5);
    EXPECT_DOUBLE_EQ(curve(-1.0, 1, 1, 0.1, 0), -1.0);
    EXPECT_DOUBLE_EQ(curve(1.0, -1, 1, 0.1, 0), -1.0);  // inverted axis
    EXPECT_DOUBLE_EQ(curve(-0.55, -2, 1, 0.1, 0.25), 1.25);
    // Not clamped: beyond full scale the curve keeps going.
    EXPECT_NEAR(curve(2.0, 1, 1, 0.1, 0), 1.9 / 0.9, 1e-12);
    EXPECT_FALSE(std::isfinite(curve(0.5, 1, 1, 1.0, 0)));
}

class PropertyTest : public InputTest {};

TEST_F(PropertyTest, ValueFollowsTheBoundControlAndIsTheOffsetWithoutOne) {
    FakeDevice pad("Pad", 0);
    Property steer("steer", ControlKind::Finite);
    steer.setOffset(0.5);
    EXPECT_DOUBLE_EQ(steer.value(), 0.5);
    steer.bind(pad.control(0));
    steer.setExponent(2);
    pad.control(0)->setCurrent(-0.55);
    EXPECT_DOUBLE_EQ(steer.value(), 0.25);
}

TEST_F(PropertyTest, BindAnswersTheKindsInCommonAndMovesBetweenControls) {
    FakeDevice pad("Pad", 0);
    Control* first = pad.control(0);
    Control* second = pad.control(1);
    Property finite("finite", ControlKind::Trinary | ControlKind::Finite);
    Property binary("binary", ControlKind::Binary);

    EXPECT_EQ(finite.bind(first), ControlKind::Finite);
    EXPECT_EQ(first->targetCount(), 1);
    EXPECT_EQ(binary.bind(first), 0u);  // bound all the same; the caller decides
    EXPECT_EQ(binary.control(), first);
    EXPECT_EQ(finite.bind(second), ControlKind::Finite);
    EXPECT_EQ(first->targetCount(), 1);
    EXPECT_EQ(first->target(0), &binary);
    EXPECT_EQ(second->targetCount(), 1);
    EXPECT_EQ(finite.bind(nullptr), Property::Unbound);
    EXPECT_EQ(second->targetCount(), 0);
    EXPECT_TRUE(finite.binding().isEmpty());
}

TEST_F(PropertyTest, ADyingControlUnbindsButTheStoredBindingFindsItsSuccessor) {
    Property steer("steer", ControlKind::Finite);
    steer.setOffset(0.25);
    {
        FakeDevice pad("Pad", 1);
        steer.bind(pad.control(1));
    }
    EXPECT_EQ(steer.control(), nullptr);
    EXPECT_DOUBLE_EQ(steer.value(), 0.25);
    EXPECT_EQ(steer.binding().attribute("device"), "Pad");
    EXPECT_EQ(steer.binding().attribute("devindex"), "1");
    EXPECT_EQ(steer.binding().attribute("index"), "1");

    FakeDevice other("Pad", 0);
    FakeDevice back("Pad", 1);
    EXPECT_EQ(handler()->findControl(steer.binding()), back.control(1));
}

TEST_F(PropertyTest, APropertyDyingFirstLeavesNoTargetBehind) {
    FakeDevice pad("Pad", 0);
    auto* steer = new Property("steer", ControlKind::Finite);
    steer->bind(pad.control(0));
    steer->destroy();
    EXPECT_EQ(pad.control(0)->targetCount(), 0);
}

TEST_F(PropertyTest, ElementHoldsTheFourParametersInDefaultFormatting) {
    Property zoom("zoom", ControlKind::Any);
    zoom.setMultiplier(2.5);
    zoom.setExponent(1.0 / 3.0);
    zoom.setDeadzone(1e-7);
    zoom.setOffset(-100000000.0);
    const Element element = zoom.toXML();
    EXPECT_EQ(element.name(), "property");
    ASSERT_EQ(element.attributes().size(), 1u);
    EXPECT_EQ(element.attribute("name"), "zoom");
    ASSERT_EQ(element.childCount(), 4);
    const char* names[] = {"multiplier", "exponent", "deadzone", "offset"};
    const char* texts[] = {"2.5", "0.333333", "1e-07", "-1e+08"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(element.child(i).name(), names[i]);
        EXPECT_EQ(element.child(i).text(), texts[i]);
    }
    EXPECT_EQ(Property("plain", 1).toXML().child("deadzone").text(), "0.1");
}

TEST_F(PropertyTest, SettingsRoundTripThroughTheElement) {
    Property written("steer", ControlKind::Finite);
    written.setMultiplier(-1.5);
    written.setExponent(2);
    written.setDeadzone(0.25);
    written.setOffset(0.125);
    Property read("steer", ControlKind::Finite);
    read.loadSettings(Element(written.toXML().toString("", "", "")));
    EXPECT_DOUBLE_EQ(read.multiplier(), -1.5);
    EXPECT_DOUBLE_EQ(read.exponent(), 2);
    EXPECT_DOUBLE_EQ(read.deadzone(), 0.25);
    EXPECT_DOUBLE_EQ(read.offset(), 0.125);
}

TEST_F(PropertyTest, LoadSettingsKeepsWhatIsAbsentEmptyOrUnreadable) {
    Property steer("steer", ControlKind::Finite);
    steer.setOffset(0.5);
    Element element = Tag("property");
    element.addChild(TagWithData("exponent", "3"));
    element.addChild(TagWithData("exponent", "4"));  // only the first counts
    element.addChild(Tag("deadzone"));
    element.addChild(TagWithData("multiplier", "fast"));
    steer.loadSettings(element);
    EXPECT_DOUBLE_EQ(steer.exponent(), 3);
    EXPECT_DOUBLE_EQ(steer.deadzone(), 0.1);
    EXPECT_DOUBLE_EQ(steer.multiplier(), 1.0);
    EXPECT_DOUBLE_EQ(steer.offset(), 0.5);
    steer.loadSettings(Element());
    EXPECT_DOUBLE_EQ(steer.exponent(), 3);
}

TEST_F(PropertyTest, HandlerReturnsExistingPropertiesAndUsesTheFactoryForNewOnes) {
    auto* properties = new PropertyHandler();
    int made = 0;
    auto factory = [&made](const std::string& name, uint32_t accepted) {
        ++made;
        return new Property(name, accepted);
    };
    Property* steer = properties->getOrCreate("steer", ControlKind::Finite, factory);
    Property* zoom = properties->getOrCreate("zoom", ControlKind::Binary, factory);
    EXPECT_EQ(properties->getOrCreate("steer", ControlKind::Binary, factory), steer);
    EXPECT_EQ(made, 2);
    EXPECT_EQ(steer->accepted(), ControlKind::Finite);
    EXPECT_EQ(properties->count(), 2);
    EXPECT_EQ(properties->property(1), zoom);
    EXPECT_EQ(properties->property("zoom"), zoom);
    EXPECT_EQ(properties->property("Zoom"), nullptr);
    EXPECT_EQ(properties->property(2), nullptr);
    EXPECT_EQ(properties->property(-1), nullptr);
    EXPECT_NE(properties->getOrCreate("plain", 1), nullptr);

    FakeDevice pad("Pad", 0);
    steer->bind(pad.control(0));
    properties->destroy();
    EXPECT_EQ(pad.control(0)->targetCount(), 0);
}

} // namespace
} // namespace qvn::test
