#include "FakeInput.h"
#include "unidevice/DummyDriver.h"
#include "unidevice/EmulatedTrinaryDevice.h"
#include "unidevice/Property.h"

#include <gtest/gtest.h>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;
using Attributes = std::vector<Element::Attribute>;

class EmulatedTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        dummy = new DummyDriver();
        left = std::make_unique<Control>(nullptr, ControlKind::Finite, 0.1);
        right = std::make_unique<Control>(nullptr, ControlKind::Finite, 0.1);
        left->setType("Left_Arrow");
        left->setDescription("Left_Arrow");
        right->setType("Right_Arrow");
        right->setDescription("Right_Arrow");
        keys = new FakeDevice("Keys", 0, 0);
        pad = new FakeDevice("Pad", 2);
        emulator = new EmulatedTrinaryDevice();
    }
    void TearDown() override {
        InputTest::TearDown();
        left.reset();
        right.reset();
    }

    DummyDriver* dummy = nullptr;
    std::unique_ptr<Control> left;
    std::unique_ptr<Control> right;
    FakeDevice* keys = nullptr;
    FakeDevice* pad = nullptr;
    EmulatedTrinaryDevice* emulator = nullptr;
};

TEST_F(EmulatedTest, JoinsTheHandlerAndTheDummyDriver) {
    EXPECT_EQ(handler()->device("TrinaryEmulator", 0), emulator);
    EXPECT_EQ(emulator->driver(), dummy);
}

TEST_F(EmulatedTest, CreatingTwiceFromTheSameSourcesGivesOneControl) {
    Control* made = emulator->createControl(left.get(), right.get());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(emulator->createControl(left.get(), right.get()), made);
    EXPECT_EQ(emulator->controlCount(), 1);
    EXPECT_EQ(left->targetCount(), 1);  // the discarded duplicate let go of its sources
    Control* reversed = emulator->createControl(right.get(), left.get());
    EXPECT_NE(reversed, made);
    EXPECT_EQ(emulator->controlCount(), 2);
    EXPECT_EQ(emulator->createControl(nullptr, right.get()), nullptr);
    EXPECT_EQ(emulator->createControl(left.get(), nullptr), nullptr);
}

TEST_F(EmulatedTest, DescriptionNamesBothSources) {
    Control* keysOnly = emulator->createControl(left.get(), right.get());
    EXPECT_EQ(keysOnly->description(), "emulated control (Left_Arrow, Right_Arrow)");
    EXPECT_EQ(keysOnly->kind(), ControlKind::Trinary);
    EXPECT_EQ(keysOnly->type(), "control");
    Control* mixed = emulator->createControl(pad->control(1), left.get());
    EXPECT_EQ(mixed->description(), "emulated control (Pad(2):Axis 1, Left_Arrow)");
    FakeDevice first("Stick", 0);
    Control* firstDevice = emulator->createControl(first.control(0), left.get());
    EXPECT_EQ(firstDevice->description(), "emulated control (Stick:Axis 0, Left_Arrow)");
}

TEST_F(EmulatedTest, ElementCarriesBothSourcesMarkedWithTheirDirection) {
    Control* made = emulator->createControl(pad->control(0), left.get());
    const Element element = made->toXML();
    EXPECT_EQ(element.attributes(),
              (Attributes{{"device", "TrinaryEmulator"}, {"type", "control"}, {"index", "0"}}));
    ASSERT_EQ(element.childCount(), 3);
    EXPECT_EQ(element.child(0).text(),
              "TrinaryEmulator: emulated control (Pad(2):Axis 0, Left_Arrow)");
    EXPECT_EQ(element.child(1).attributes(),
              (Attributes{{"device", "Pad"}, {"devindex", "2"}, {"type", "axis"}, {"index", "0"},
                          {"te_direction", "positive"}}));
    EXPECT_EQ(element.child(2).attributes(),
              (Attributes{{"type", "Left_Arrow"}, {"index", "0"}, {"te_direction", "negative"}}));
    EXPECT_TRUE(made->matches(element));
}

TEST_F(EmulatedTest, MatchingChecksEachChildAgainstTheSourceItNames) {
    Control* made = emulator->createControl(left.get(), right.get());
    Element element = made->toXML();
    Element swapped = element;
    swapped.child(1).attribute("te_direction") = "negative";
    swapped.child(2).attribute("te_direction") = "positive";
    EXPECT_FALSE(made->matches(swapped));
    Element unmarked = element;
    unmarked.child(2).attribute("te_direction") = "";
    EXPECT_FALSE(made->matches(unmarked));
    Element reordered = Element(element.toString("", "", ""));
    reordered.takeChild(1);
    Element positive = element.child(1);
    reordered.addChild(positive);  // negative first, then positive: still the same control
    EXPECT_TRUE(made->matches(reordered));
}

TEST_F(EmulatedTest, ValueIsPositiveMinusNegativeAndZeroOnceASourceDies) {
    Control* made = emulator->createControl(pad->control(0), right.get());
    pad->control(0)->setCurrent(1.0);
    right->setCurrent(0.25);
    EXPECT_DOUBLE_EQ(made->value(), 0.75);
    Property steer("steer", ControlKind::Trinary);
    steer.bind(made);
    steer.setDeadzone(0);
    EXPECT_DOUBLE_EQ(steer.value(), 0.75);
    pad->destroy();
    EXPECT_DOUBLE_EQ(made->value(), 0.0);
    EXPECT_DOUBLE_EQ(steer.value(), 0.0);
    EXPECT_EQ(steer.control(), made);  // the emulated control itself lives on
    EXPECT_FALSE(made->matches(made->toXML()));
}

TEST_F(EmulatedTest, AFreshEmulatorRebuildsTheControlFromItsBinding) {
    auto* other = new FakeDevice("Other", 0);
    const Element stored = emulator->createControl(pad->control(1), other->control(0))->toXML();
    emulator->destroy();
    emulator = new EmulatedTrinaryDevice();
    Control* rebuilt = handler()->findControl(stored);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->device(), emulator);
    auto* emulated = static_cast<EmulatedTControl*>(rebuilt);
    EXPECT_EQ(emulated->positive(), pad->control(1));
    EXPECT_EQ(emulated->negative(), other->control(0));
    EXPECT_EQ(handler()->findControl(stored), rebuilt);
    EXPECT_EQ(emulator->controlCount(), 1);
}

TEST_F(EmulatedTest, ABindingListingTheNegativeSourceFirstIsSwappedBackIntoPlace) {
    auto* other = new FakeDevice("Other", 0);
    Element stored = emulator->createControl(pad->control(1), other->control(0))->toXML();
    Element reordered = stored;
    Element positive = reordered.takeChild(1);
    reordered.addChild(positive);
    emulator->destroy();
    emulator = new EmulatedTrinaryDevice();
    auto* rebuilt = static_cast<EmulatedTControl*>(handler()->findControl(reordered));
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->positive(), pad->control(1));
    EXPECT_EQ(rebuilt->negative(), other->control(0));
}

TEST_F(EmulatedTest, ABindingWhoseSourcesAreGoneYieldsNothing) {
    Element stored = emulator->createControl(pad->control(1), left.get())->toXML();
    pad->destroy();
    EXPECT_EQ(handler()->findControl(stored), nullptr);
    Element lonely = stored;
    lonely.takeChild(2);
    EXPECT_EQ(handler()->findControl(lonely), nullptr);
}

TEST_F(EmulatedTest, NeverOfferedByDetectionAndResetClearsValues) {
    Control* made = emulator->createControl(left.get(), right.get());
    made->setCurrent(1.0);
    EXPECT_FALSE(emulator->prepareDetection(0));
    EXPECT_DOUBLE_EQ(made->previous(), 1.0);
    EXPECT_EQ(emulator->detect(0, 0), nullptr);
    emulator->reset();
    EXPECT_DOUBLE_EQ(made->current(), 0.0);
    EXPECT_DOUBLE_EQ(made->previous(), 0.0);
}

} // namespace
} // namespace qvn::test
