#include "../../examples/drivers/simulated_gamepad/GamepadScript.h"
#include "FakeInput.h"
#include "support/TestEnvironment.h"
#include "unidevice/DriverLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qvn::test {
namespace {

using mvk::examples::GamepadScript;
using mvk::util::xml::Element;
using mvk::util::xml::Tag;

TEST(GamepadScript, KeysInterpolateHoldAndRest) {
    const GamepadScript script = GamepadScript::parse("# steering\n"
                                                      "1 leftx 0\n"
                                                      "3 leftx 1\n"
                                                      "\n"
                                                      "2 a 1\n"
                                                      "0 a 0\n");
    EXPECT_EQ(script.malformedLines(), 0);
    EXPECT_DOUBLE_EQ(script.valueAt("leftx", 0.5), 0.0);  // before the first key
    EXPECT_DOUBLE_EQ(script.valueAt("leftx", 2.0), 0.5);
    EXPECT_DOUBLE_EQ(script.valueAt("leftx", 3.0), 1.0);
    EXPECT_DOUBLE_EQ(script.valueAt("leftx", 99.0), 1.0);
    EXPECT_DOUBLE_EQ(script.valueAt("a", 1.0), 0.5);  // keys are sorted by time
    EXPECT_DOUBLE_EQ(script.valueAt("righty", 1.0), 0.0);
}

TEST(GamepadScript, LoopsAndSkipsLinesThatDoNotRead) {
    const GamepadScript script = GamepadScript::parse("loop 2\n"
                                                      "0 leftx -1\n"
                                                      "2 leftx 1\n"
                                                      "x leftx 1\n"
                                                      "1 leftx\n"
                                                      "1 leftx nan\n"
                                                      "loop -1\n");
    EXPECT_EQ(script.malformedLines(), 4);
    EXPECT_DOUBLE_EQ(script.loopPeriod(), 2.0);
    EXPECT_DOUBLE_EQ(script.valueAt("leftx", 1.0), 0.0);
    EXPECT_DOUBLE_EQ(script.valueAt("leftx", 5.0), 0.0);
    EXPECT_TRUE(GamepadScript::load("/nonexistent/script").isEmpty());
}

TEST(GamepadScript, TheShippedDemoScriptReadsCleanly) {
    const GamepadScript script = GamepadScript::load(
        std::string(QVN_SOURCE_DIR) + "/examples/drivers/simulated_gamepad/demo_gamepad.txt");
    EXPECT_FALSE(script.isEmpty());
    EXPECT_EQ(script.malformedLines(), 0);
    EXPECT_DOUBLE_EQ(script.loopPeriod(), 8.0);
    EXPECT_DOUBLE_EQ(script.valueAt("leftx", 8.0 + 3.0), 0.8);
}

class SimulatedGamepadTest : public InputTest {
protected:
    void TearDown() override {
        InputTest::TearDown();
        loader.freeAll();
        unsetenv("QUORVANE_SIMULATED_GAMEPAD");
    }
    DriverLoader::Result load() {
        return loader.loadLibrary(std::string(QVN_DRIVER_DIR) + "/simulated_gamepad.so",
                                  DriverContext());
    }
    Control* find(const char* type, int index) {
        Element element = Tag("control");
        element.attribute("device") = "Simulated Gamepad";
        element.attribute("type") = type;
        element.attribute("index") = std::to_string(index);
        return handler()->findControl(element);
    }
    DriverLoader loader;
};

TEST_F(SimulatedGamepadTest, ControlsFollowTheScriptNamedByTheEnvironment) {
    TestEnvironment environment;
    const std::string script = environment.writeFile("pad.txt", "0 leftx 0.25\n"
                                                                "0 a 1\n"
                                                                "0 dpadx -1\n"
                                                                "0 righttrigger 0.5\n");
    setenv("QUORVANE_SIMULATED_GAMEPAD", script.c_str(), 1);
    ASSERT_EQ(load(), DriverLoader::Loaded);
    ASSERT_NE(handler()->device("Simulated Gamepad", 0), nullptr);
    handler()->updateAll();
    EXPECT_DOUBLE_EQ(find("axis", 0)->current(), 0.25);
    EXPECT_DOUBLE_EQ(find("axis", 5)->current(), 0.5);
    EXPECT_DOUBLE_EQ(find("button", 0)->current(), 1.0);
    EXPECT_DOUBLE_EQ(find("dpad", 0)->current(), -1.0);
    EXPECT_DOUBLE_EQ(find("axis", 1)->current(), 0.0);
    ASSERT_TRUE(handler()->prepareDetectionAll());
    EXPECT_EQ(handler()->detectControl(), nullptr);  // a script that holds still never moves
}

TEST_F(SimulatedGamepadTest, WithoutAScriptThereIsNoDevice) {
    unsetenv("QUORVANE_SIMULATED_GAMEPAD");
    ASSERT_EQ(load(), DriverLoader::Loaded);
    EXPECT_NE(handler()->driver("simulatedgamepad"), nullptr);
    EXPECT_EQ(handler()->deviceCount(), 0);
}

} // namespace
} // namespace qvn::test
