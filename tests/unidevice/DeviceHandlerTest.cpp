#include "FakeInput.h"
#include "unidevice/DummyDriver.h"
#include "unidevice/WinDriver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qvn::test {
namespace {

using ::testing::ElementsAre;

class DeviceHandlerTest : public InputTest {};

TEST_F(DeviceHandlerTest, LooksUpDriversAndDevicesByNameAndIndex) {
    auto* dummy = new DummyDriver();
    auto* win = new WinDriver();
    new FakeDriver("windriver");  // a second one of the name is never found by name
    auto* keyboard = new FakeDevice("Keyboard", 0);
    auto* pad = new FakeDevice("Pad", 2);
    EXPECT_EQ(handler()->driver("dummydriver"), dummy);
    EXPECT_EQ(handler()->driver("windriver"), win);
    EXPECT_EQ(handler()->driver("missing"), nullptr);
    EXPECT_EQ(handler()->driverCount(), 3);
    EXPECT_EQ(handler()->device("Keyboard", 0), keyboard);
    EXPECT_EQ(handler()->device("Keyboard", 1), nullptr);
    EXPECT_EQ(handler()->device("Pad", 2), pad);
    EXPECT_EQ(handler()->deviceIndex(pad), 1);
    EXPECT_EQ(handler()->deviceIndex(nullptr), -1);
}

TEST_F(DeviceHandlerTest, DevicesInsertOnlyWithinTheSequence) {
    auto* a = new FakeDevice("A", 0);
    auto* b = new FakeDevice("B", 0);
    auto* c = new FakeDevice("C", 0, 1, false);
    c->attachTo(3);
    EXPECT_EQ(c->handler(), nullptr);
    EXPECT_EQ(handler()->deviceCount(), 2);
    c->attachTo(1);
    EXPECT_EQ(c->handler(), handler());
    EXPECT_EQ(handler()->device(1), c);
    c->attachTo(0);  // moves: it leaves its old place first
    EXPECT_EQ(handler()->deviceCount(), 3);
    EXPECT_EQ(handler()->device(0), c);
    EXPECT_EQ(handler()->device(2), b);
    a->destroy();
    EXPECT_EQ(handler()->deviceIndex(b), 1);
    c->detach();
    EXPECT_EQ(handler()->deviceCount(), 1);
    c->destroy();
}

TEST_F(DeviceHandlerTest, ActivateAndDeactivateCallEveryDriverAndAndTheAnswers) {
    auto* refusing = new FakeDriver("first");
    new FakeDriver("second");
    refusing->activateAnswer = false;
    EXPECT_FALSE(handler()->activateAll());
    EXPECT_FALSE(handler()->deactivateAll());
    EXPECT_THAT(journal(), ElementsAre("activate first", "activate second", "deactivate first",
                                       "deactivate second"));
    refusing->activateAnswer = true;
    EXPECT_TRUE(handler()->activateAll());
}

TEST_F(DeviceHandlerTest, DriversPassAllDevicesAndAndTheirAnswers) {
    auto* win = new WinDriver();
    auto* first = new FakeDevice("A", 0);
    auto* second = new FakeDevice("B", 0);
    win->addDevice(first);
    win->addDevice(second);
    win->setParam(77);
    first->activateAnswer = false;
    EXPECT_FALSE(handler()->activateAll());
    handler()->updateAll();
    EXPECT_THAT(journal(),
                ElementsAre("activate A/0", "activate B/0", "update A/0 77", "update B/0 77"));
}

TEST_F(DeviceHandlerTest, UpdateAllGoesThroughDriversInOrderAndResetAllThroughDevices) {
    auto* dummy = new DummyDriver();
    auto* other = new FakeDriver("other");
    auto* keys = new FakeDevice("Keys", 0);
    auto* pad = new FakeDevice("Pad", 0);
    auto* loose = new FakeDevice("Loose", 0);  // in no driver: never updated, still reset
    other->addDevice(pad);
    dummy->addDevice(keys);
    loose->move(0, 1.0);
    handler()->updateAll();
    EXPECT_THAT(journal(), ElementsAre("update Keys/0 0", "update other", "update Pad/0 0"));
    handler()->resetAll();
    EXPECT_DOUBLE_EQ(loose->control(0)->current(), 0.0);
}

TEST_F(DeviceHandlerTest, PrepareDetectionAllIsTrueWhenAnyDeviceIsReady) {
    auto* dummy = new DummyDriver();
    auto* win = new WinDriver();
    auto* a = new FakeDevice("A", 0);
    auto* b = new FakeDevice("B", 0);
    dummy->addDevice(a);
    win->addDevice(b);
    a->ready = false;
    b->ready = false;
    EXPECT_FALSE(handler()->prepareDetectionAll());
    b->ready = true;
    EXPECT_TRUE(handler()->prepareDetectionAll());
    EXPECT_EQ(win->prepareDetection(), 1);
}

struct Detection : InputTest {
    void SetUp() override {
        InputTest::SetUp();
        dummy = new DummyDriver();
        win = new WinDriver();
        a = new FakeDevice("A", 0);
        b = new FakeDevice("B", 0);
        c = new FakeDevice("C", 0);
        dummy->addDevice(a);
        dummy->addDevice(b);
        win->addDevice(c);
    }
    DummyDriver* dummy = nullptr;
    WinDriver* win = nullptr;
    FakeDevice* a = nullptr;
    FakeDevice* b = nullptr;
    FakeDevice* c = nullptr;
};

TEST_F(Detection, TheGreatestAbsoluteChangeWins) {
    a->move(0, 0.5);
    b->move(1, -0.7);
    EXPECT_EQ(handler()->detectControl(), b->control(1));
}

TEST_F(Detection, TiesGoToTheEarlierDeviceAndTheEarlierDriver) {
    b->move(0, 0.5);
    a->move(1, -0.5);
    c->move(0, 0.5);
    EXPECT_EQ(handler()->detectControl(), a->control(1));
    c->move(1, 0.75);
    EXPECT_EQ(handler()->detectControl(), c->control(1));
}

TEST_F(Detection, NothingMovedGivesNullAndExcludedControlsAreSkipped) {
    EXPECT_EQ(handler()->detectControl(), nullptr);
    a->move(0, 0.1);  // not beyond the threshold
    EXPECT_EQ(handler()->detectControl(), nullptr);
    a->move(0, 0.25);
    c->move(0, 0.9);
    const ControlList excluded{c->control(0)};
    EXPECT_EQ(handler()->detectControl(&excluded), a->control(0));
    EXPECT_FALSE(handler()->isExcluded(c->control(0)));  // only while detecting
}

TEST_F(DeviceHandlerTest, DestroyAllDevicesGoesFromTheLastToTheFirst) {
    auto* dummy = new DummyDriver();
    auto* a = new FakeDevice("A", 0);
    new FakeDevice("B", 0);
    dummy->addDevice(a);
    handler()->destroyAllDevices();
    EXPECT_THAT(journal(), ElementsAre("~B/0", "~A/0"));
    EXPECT_EQ(handler()->deviceCount(), 0);
    EXPECT_EQ(dummy->deviceCount(), 0);
}

TEST_F(DeviceHandlerTest, HandlerDestroysDevicesThenDriversNewestFirst) {
    auto* first = new FakeDriver("first");
    new FakeDriver("second");
    auto* device = new FakeDevice("A", 0);
    first->addDevice(device);
    handler()->destroy();
    EXPECT_THAT(journal(), ElementsAre("~A/0", "~second", "~first"));
}

TEST_F(DeviceHandlerTest, ADeviceLeavesHandlerAndDriverWhenDestroyedAndADriverReleasesItsDevices) {
    auto* driver = new FakeDriver("pads");
    auto* pad = new FakeDevice("Pad", 0);
    auto* kept = new FakeDevice("Kept", 0);
    driver->addDevice(pad);
    driver->addDevice(kept);
    EXPECT_EQ(pad->driver(), driver);
    pad->destroy();
    EXPECT_EQ(driver->deviceCount(), 1);
    EXPECT_EQ(handler()->deviceCount(), 1);
    EXPECT_FALSE(driver->removeDevice(pad));
    driver->destroy();
    EXPECT_EQ(kept->driver(), nullptr);
    EXPECT_EQ(handler()->driverCount(), 0);
}

TEST_F(DeviceHandlerTest, MovingADeviceToAnotherDriverTakesItFromTheFirst) {
    auto* from = new FakeDriver("from");
    auto* to = new FakeDriver("to");
    auto* pad = new FakeDevice("Pad", 0);
    from->addDevice(pad);
    to->addDevice(pad);
    to->addDevice(pad);
    EXPECT_EQ(from->deviceCount(), 0);
    EXPECT_EQ(to->deviceCount(), 1);
    EXPECT_EQ(pad->driver(), to);
}

} // namespace
} // namespace qvn::test
