#include "../../examples/drivers/simulated_gamepad/GamepadScript.h"
#include "FakeInput.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace qvn::test {
namespace {

using mvk::examples::GamepadScript;
using mvk::util::xml::Element;
using mvk::util::xml::Tag;

TEST(GamepadScript, KeysInterpolateHoldRestAndLoopAndBadLinesAreSkipped) {
    const GamepadScript script = GamepadScript::parse("# steering\n"
                                                      "1 leftx 0\n"
                                                      "3 leftx 1\n"
                                                      "\n"
                                                      "2 a 1\n"
                                                      "0 a 0\n"
                                                      "x leftx 1\n"
                                                      "1 leftx\n"
                                                      "1 leftx nan\n"
                                                      "loop -1\n");
    EXPECT_EQ(script.malformedLines(), 4);
    EXPECT_DOUBLE_EQ(script.valueAt("leftx", 0.5), 0.0);  // before the first key
    EXPECT_DOUBLE_EQ(script.valueAt("leftx", 2.0), 0.5);
    EXPECT_DOUBLE_EQ(script.valueAt("leftx", 99.0), 1.0);
    EXPECT_DOUBLE_EQ(script.valueAt("a", 1.0), 0.5);  // keys are sorted by time
    // The shipped demo script loops.
    const GamepadScript demo = GamepadScript::load(
        std::string(QVN_SOURCE_DIR) + "/examples/drivers/simulated_gamepad/demo_gamepad.txt");
    EXPECT_EQ(demo.malformedLines(), 0);
    EXPECT_DOUBLE_EQ(demo.loopPeriod(), 8.0);
    EXPECT_DOUBLE_EQ(demo.valueAt("leftx", 8.0 + 3.0), 0.8);
}

class SimulatedGamepadTest : public DriverTest {
protected:
    void TearDown() override {
        DriverTest::TearDown();
        unsetenv("QUORVANE_SIMULATED_GAMEPAD");
    }
    DriverLoader::Result load() {
        return loader.loadLibrary(std::string(QVN_DRIVER_DIR) + "/simulated_gamepad.so",
                                  DriverContext());
    }
};

TEST_F(SimulatedGamepadTest, ControlsFollowTheScriptNamedByTheEnvironment) {
    unsetenv("QUORVANE_SIMULATED_GAMEPAD");
    ASSERT_EQ(load(), DriverLoader::Loaded);  // without a script: the driver but no device
    EXPECT_NE(handler()->driver("simulatedgamepad"), nullptr);
    EXPECT_EQ(handler()->deviceCount(), 0);
    dropHandler();
    loader.freeAll();
    TestEnvironment environment;
    setenv("QUORVANE_SIMULATED_GAMEPAD",
           environment.writeFile("pad.txt", "0 leftx 0.25\n0 a 1\n0 dpadx -1\n0 righttrigger 0.5\n")
               .c_str(),
           1);
    ASSERT_EQ(load(), DriverLoader::Loaded);
    ASSERT_NE(handler()->device("Simulated Gamepad", 0), nullptr);
    handler()->updateAll();
    const std::tuple<const char*, int, double> expected[] = {
        {"axis", 0, 0.25}, {"button", 0, 1.0}, {"dpad", 0, -1.0}, {"axis", 1, 0.0}};
    for (const auto& [type, index, value] : expected) {
        Element element = Tag("control");
        element.attribute("device") = "Simulated Gamepad";
        element.attribute("type") = type;
        element.attribute("index") = std::to_string(index);
        ASSERT_NE(handler()->findControl(element), nullptr) << type << index;
        EXPECT_DOUBLE_EQ(handler()->findControl(element)->current(), value) << type << index;
    }
    ASSERT_TRUE(handler()->prepareDetectionAll());
    EXPECT_EQ(handler()->detectControl(), nullptr);  // a script that holds still never moves
}

} // namespace
} // namespace qvn::test
