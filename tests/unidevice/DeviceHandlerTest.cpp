#include "FakeInput.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qvn::test {
namespace {

using ::testing::ElementsAre;

class DeviceHandlerTest : public InputTest {};

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
