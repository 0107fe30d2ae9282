#include "FakeInput.h"
#include "unidevice/Property.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;
using mvk::util::xml::Tag;
using mvk::util::xml::TagWithData;

TEST(ResponseCurve, DeadZoneExponentSignMultiplierAndOffsetWithoutClamping) {
    // raw, multiplier, exponent, deadzone, offset, expected
    const double cases[][6] = {
        {0.1, 1, 2, 0.1, 0, 0.0},
        {-0.55, 1, 2, 0.1, 0, -0.25},  // sign after the exponent
        {-0.55, -2, 1, 0.1, 0.25, 1.25},
        {2.0, 1, 1, 0.1, 0, 1.9 / 0.9},  // beyond full scale the curve keeps going
    };
    for (const auto& c : cases)
        EXPECT_NEAR(Property::response(c[0], c[1], c[2], c[3], c[4]), c[5], 1e-12)
            << c[0] << " " << c[1] << " " << c[2] << " " << c[3] << " " << c[4];
    EXPECT_FALSE(std::isfinite(Property::response(0.5, 1, 1, 1.0, 0)));
}

class PropertyTest : public InputTest {};

TEST_F(PropertyTest, BindAnswersCommonKindsValueFollowsTheControlAndBindingsOutliveIt) {
    FakeDevice pad("Pad", 0);
    Control* first = pad.control(0);
    Control* second = pad.control(1);
    Property finite("finite", ControlKind::Trinary | ControlKind::Finite);
    Property binary("binary", ControlKind::Binary);
    finite.setOffset(0.5);
    EXPECT_DOUBLE_EQ(finite.value(), 0.5);
    EXPECT_EQ(finite.bind(first), ControlKind::Finite);
    finite.setExponent(2);
    first->setCurrent(-0.55);
    EXPECT_DOUBLE_EQ(finite.value(), 0.25);
    EXPECT_EQ(binary.bind(first), 0u);  // bound all the same; the caller decides
    EXPECT_EQ(binary.control(), first);
    EXPECT_EQ(finite.bind(second), ControlKind::Finite);
    EXPECT_EQ(first->targetCount(), 1);
    EXPECT_EQ(first->target(0), &binary);
    EXPECT_EQ(finite.bind(nullptr), Property::Unbound);
    EXPECT_EQ(second->targetCount(), 0);
    // Binding and unbinding leave the stored element alone. A dying control unbinds, and the
    // stored binding finds its successor.
    {
        FakeDevice gone("Pad", 1);
        finite.setBinding(gone.control(1)->toXML());
        finite.bind(gone.control(0));
        EXPECT_EQ(finite.binding().attribute("index"), "1");
        finite.bind(nullptr);
        EXPECT_EQ(finite.binding().attribute("index"), "1");
        finite.bind(gone.control(1));
    }
    EXPECT_EQ(finite.control(), nullptr);
    EXPECT_DOUBLE_EQ(finite.value(), 0.5);
    FakeDevice back("Pad", 1);
    EXPECT_EQ(handler()->findControl(finite.binding()), back.control(1));
}

TEST_F(PropertyTest, SettingsWriteInDefaultFormattingRoundTripAndLoadingKeepsWhatIsUnreadable) {
    // The element holds the four parameters in default stream formatting.
    EXPECT_EQ(Property("plain", 1).toXML().child("deadzone").text(), "0.1");
    Property written("steer", ControlKind::Finite);
    written.setMultiplier(2.5);
    written.setExponent(1.0 / 3.0);
    written.setDeadzone(1e-7);
    written.setOffset(-100000000.0);
    EXPECT_EQ(written.toXML().toString("", "", ""),
              "<property name=\"steer\"><multiplier>2.5</multiplier><exponent>0.333333</exponent>"
              "<deadzone>1e-07</deadzone><offset>-1e+08</offset></property>");
    written.setExponent(2);
    Property read("steer", ControlKind::Finite);
    read.loadSettings(Element(written.toXML().toString("", "", "")));
    EXPECT_EQ(read.toXML().toString("", "", ""), written.toXML().toString("", "", ""));

    Element element = Tag("property");
    element.addChild(TagWithData("exponent", "3"));
    element.addChild(TagWithData("exponent", "4"));  // only the first counts
    element.addChild(Tag("deadzone"));
    element.addChild(TagWithData("multiplier", "fast"));
    read.loadSettings(element);
    read.loadSettings(Element());
    written.setExponent(3);  // and nothing else changed
    EXPECT_EQ(read.toXML().toString("", "", ""), written.toXML().toString("", "", ""));
}

} // namespace
} // namespace qvn::test
