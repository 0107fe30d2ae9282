#include "FakeInput.h"
#include "unidevice/DummyDriver.h"
#include "unidevice/WinDriver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qvn::test {
namespace {

using ::testing::ElementsAre;

class DeviceHandlerTest : public InputTest {};

TEST_F(DeviceHandlerTest, FanOutReachesEveryDriverAndDeviceAndAndsTheAnswers) {
    auto* refusing = new FakeDriver("first");
    auto* dummy = new DummyDriver();
    auto* win = new WinDriver();
    auto* pad = new FakeDevice("Pad", 0);
    auto* a = new FakeDevice("A", 0);
    auto* loose = new FakeDevice("Loose", 0);  // in no driver: never updated, still reset
    dummy->addDevice(pad);
    auto* b = new FakeDevice("B", 0);
    win->addDevice(a);
    win->addDevice(b);
    win->setParam(77);
    refusing->activateAnswer = false;
    a->activateAnswer = false;
    EXPECT_FALSE(handler()->activateAll());
    EXPECT_FALSE(handler()->deactivateAll());
    handler()->updateAll();
    EXPECT_THAT(journal(),
                ElementsAre("activate first", "activate Pad/0", "activate A/0", "activate B/0",
                            "deactivate first", "deactivate Pad/0", "deactivate A/0",
                            "deactivate B/0", "update first", "update Pad/0 0", "update A/0 77",
                            "update B/0 77"));
    refusing->activateAnswer = true;
    EXPECT_FALSE(handler()->activateAll());
    a->activateAnswer = true;
    EXPECT_TRUE(handler()->activateAll());

    loose->move(0, 1.0);
    handler()->resetAll();
    EXPECT_DOUBLE_EQ(loose->control(0)->current(), 0.0);
    for (FakeDevice* device : {pad, a, b})
        device->ready = false;
    EXPECT_FALSE(handler()->prepareDetectionAll());
    b->ready = true;
    EXPECT_TRUE(handler()->prepareDetectionAll());
    EXPECT_EQ(win->prepareDetection(), 1);
}

TEST_F(DeviceHandlerTest, AddingOnlyAppendsADyingDeviceLeavesEveryDriverAndDestroyGoesNewestFirst) {
    auto* from = new FakeDriver("from");
    auto* to = new FakeDriver("to");
    auto* pad = new FakeDevice("Pad", 0);
    auto* kept = new FakeDevice("Kept", 0);
    EXPECT_TRUE(from->addDevice(pad));
    EXPECT_TRUE(from->addDevice(kept));
    EXPECT_TRUE(to->addDevice(kept));
    EXPECT_TRUE(to->addDevice(kept));
    ASSERT_EQ(to->deviceCount(), 2);
    EXPECT_TRUE(to->removeDevice(kept));  // the first occurrence only
    EXPECT_EQ(to->device(0), kept);
    pad->destroy();
    EXPECT_EQ(from->device(0), kept);
    kept->destroy();
    EXPECT_EQ(to->deviceCount(), 0);
    auto* last = new FakeDevice("Last", 0);
    to->addDevice(last);
    to->destroy();
    EXPECT_EQ(last->driver(), nullptr);
    EXPECT_EQ(handler()->driverCount(), 1);

    // Devices go newest first, then the drivers, newest first; destroying all devices empties
    // the drivers' lists.
    new FakeDriver("second");
    from->addDevice(new FakeDevice("A", 0));
    journal().clear();
    handler()->destroyAllDevices();
    EXPECT_EQ(from->deviceCount(), 0);
    new FakeDevice("B", 0);
    new FakeDevice("C", 0);
    handler()->destroy();
    EXPECT_THAT(journal(), ElementsAre("~A/0", "~Last/0", "~C/0", "~B/0", "~second", "~from"));
}

} // namespace
} // namespace qvn::test
