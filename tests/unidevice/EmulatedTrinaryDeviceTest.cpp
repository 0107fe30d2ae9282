#include "FakeInput.h"
#include "unidevice/DummyDriver.h"
#include "unidevice/EmulatedTrinaryDevice.h"
#include "unidevice/Property.h"

#include <gtest/gtest.h>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;

class EmulatedTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        new DummyDriver();
        left = key("Left_Arrow");
        right = key("Right_Arrow");
        pad = new FakeDevice("Pad", 2);
        emulator = new EmulatedTrinaryDevice();
    }
    void TearDown() override {
        InputTest::TearDown();
        left.reset();
        right.reset();
    }
    static std::unique_ptr<Control> key(const char* name) {
        auto made = std::make_unique<Control>(nullptr, ControlKind::Finite, 0.1);
        made->setType(name);
        made->setDescription(name);
        return made;
    }
    // Destroys the emulator and its controls and starts a fresh one.
    void replaceEmulator() {
        emulator->destroy();
        emulator = new EmulatedTrinaryDevice();
    }

    std::unique_ptr<Control> left;
    std::unique_ptr<Control> right;
    FakeDevice* pad = nullptr;
    EmulatedTrinaryDevice* emulator = nullptr;
};

// The binding names both sources with their direction; either order of the two is the same
// control, to the control itself and to a fresh emulator that rebuilds it.
TEST_F(EmulatedTest, ElementCarriesBothSourcesByDirectionAndRebuildsInEitherChildOrder) {
    Control* made = emulator->createControl(pad->control(0), left.get());
    const Element element = made->toXML();
    EXPECT_EQ(element.toString("", "", ""),
              "<control device=\"TrinaryEmulator\" type=\"control\" index=\"0\"><description>"
              "TrinaryEmulator: emulated control (Pad(2):Axis 0, Left_Arrow)</description>"
              "<control device=\"Pad\" devindex=\"2\" type=\"axis\" index=\"0\" "
              "te_direction=\"positive\"><description>Pad: Axis 0</description></control>"
              "<control type=\"Left_Arrow\" index=\"0\" te_direction=\"negative\">"
              "<description>Left_Arrow</description></control></control>");
    EXPECT_TRUE(made->matches(element));
    Element swapped = element;
    swapped.child(1).attribute("te_direction") = "negative";
    swapped.child(2).attribute("te_direction") = "positive";
    EXPECT_FALSE(made->matches(swapped));
    Element reordered = element;
    Element positive = reordered.takeChild(1);
    reordered.addChild(positive);  // negative first, then positive: still the same control
    EXPECT_TRUE(made->matches(reordered));

    // A fresh emulator rebuilds a control from its binding once it finds both sources.
    auto* other = new FakeDevice("Other", 0);
    const Element stored = emulator->createControl(pad->control(1), other->control(0))->toXML();
    reordered = stored;
    positive = reordered.takeChild(1);
    reordered.addChild(positive);
    for (const Element& binding : {stored, reordered}) {
        replaceEmulator();
        auto* rebuilt = static_cast<EmulatedTControl*>(handler()->findControl(binding));
        ASSERT_NE(rebuilt, nullptr);
        EXPECT_EQ(rebuilt->device(), emulator);
        EXPECT_EQ(rebuilt->positive(), pad->control(1));
        EXPECT_EQ(rebuilt->negative(), other->control(0));
        EXPECT_EQ(handler()->findControl(binding), rebuilt);
        EXPECT_EQ(emulator->controlCount(), 1);
    }
    // Sources gone or missing: nothing to rebuild.
    Element lonely = stored;
    lonely.takeChild(2);
    replaceEmulator();
    EXPECT_EQ(handler()->findControl(lonely), nullptr);
    pad->destroy();
    EXPECT_EQ(handler()->findControl(stored), nullptr);
}

TEST_F(EmulatedTest, ValueIsPositiveMinusNegativeAndZeroOnceASourceDies) {
    Control* made = emulator->createControl(pad->control(0), right.get());
    pad->control(0)->setCurrent(1.0);
    right->setCurrent(0.25);
    Property steer("steer", ControlKind::Trinary);
    steer.bind(made);
    steer.setDeadzone(0);
    EXPECT_DOUBLE_EQ(steer.value(), 0.75);
    pad->destroy();
    EXPECT_DOUBLE_EQ(steer.value(), 0.0);
    EXPECT_EQ(steer.control(), made);  // the emulated control itself lives on
    EXPECT_FALSE(made->matches(made->toXML()));
}

} // namespace
} // namespace qvn::test
