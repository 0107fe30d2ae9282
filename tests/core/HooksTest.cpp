#include "core/Hooks.h"
#include "util/Log.h"
#include "util/SingletonCollector.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <vector>

namespace Hooks = mvk::qvn::core::Hooks;

namespace {

struct Recorder : Hooks::KeyEventCallback {
    struct Key {
        int32_t code;
        bool down, ctrl, alt, shift;
    };
    void onKey(int32_t code, bool down, bool ctrl, bool alt, bool shift) override {
        keys.push_back({code, down, ctrl, alt, shift});
    }
    std::vector<Key> keys;
};

class HooksTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 0;
        if (QApplication::instance() == nullptr)
            new QApplication(argc, nullptr);
    }
    void SetUp() override {
        Hooks::addKeyEventCallback(&recorder);
        Hooks::setCapture(true);
    }
    void TearDown() override {
        Hooks::setCapture(false);
        Hooks::removeKeyEventCallback(&recorder);
        Hooks::setUnlockedKeys({});
        Hooks::processKey(16, false, false);
        Hooks::processKey(17, false, false);
        Hooks::setCapture(false);
        if (auto* collector = mvk::util::SingletonCollector::existing())
            collector->destroyAll();
    }
    Recorder recorder;
};

TEST_F(HooksTest, StartCountInstallsOnFirstStartAndRemovesAtZero) {
    Hooks::startHooks();
    Hooks::startHooks();
    EXPECT_TRUE(Hooks::isInstalled());
    Hooks::stopHooks();
    EXPECT_TRUE(Hooks::isInstalled());
    Hooks::stopHooks();
    EXPECT_FALSE(Hooks::isInstalled());
    Hooks::stopHooks(); // surplus: ignored
    EXPECT_EQ(Hooks::startCount(), 0u);
    Hooks::startHooks();
    EXPECT_TRUE(Hooks::isInstalled());
    Hooks::stopHooks();
    EXPECT_FALSE(Hooks::isInstalled());
}

TEST_F(HooksTest, WithoutCaptureEveryKeyPasses) {
    Hooks::setCapture(false);
    EXPECT_FALSE(Hooks::processKey(32, true, false));
    EXPECT_TRUE(recorder.keys.empty());
}

TEST_F(HooksTest, CapturedKeysAreSwallowedAndHandedToCallbacks) {
    EXPECT_TRUE(Hooks::processKey(32, true, false));
    EXPECT_TRUE(Hooks::processKey(32, false, false));
    ASSERT_EQ(recorder.keys.size(), 2u);
    EXPECT_TRUE(recorder.keys[0].down);
    EXPECT_FALSE(recorder.keys[1].down);

    // A key without a code is taken from the host but reported to nobody.
    EXPECT_TRUE(Hooks::processKey(0, true, false));
    EXPECT_TRUE(Hooks::processKey(0, false, false));
    EXPECT_EQ(recorder.keys.size(), 2u);
}

TEST_F(HooksTest, UnlockedKeyWithoutFlagsPassesWithAnyModifiers) {
    Hooks::setUnlockedKeys({{'A', 0}});
    EXPECT_FALSE(Hooks::processKey('A', true, false));
    Hooks::processKey(17, true, false);
    EXPECT_FALSE(Hooks::processKey('A', true, true));
}

TEST_F(HooksTest, CtrlFlagPassesOnlyWhileCtrlIsHeld) {
    Hooks::setUnlockedKeys({{'S', Hooks::RequiresCtrl}});
    EXPECT_TRUE(Hooks::processKey('S', true, false));
    ASSERT_EQ(recorder.keys.size(), 1u);
    EXPECT_FALSE(recorder.keys[0].ctrl);
    Hooks::processKey(17, true, false);
    EXPECT_FALSE(Hooks::processKey('S', true, false));
}

TEST_F(HooksTest, ShiftFlagPassesOnlyWhileShiftIsHeld) {
    Hooks::setUnlockedKeys({{'Q', Hooks::RequiresShift}});
    EXPECT_TRUE(Hooks::processKey('Q', true, false));
    Hooks::processKey(16, true, false);
    EXPECT_FALSE(Hooks::processKey('Q', true, false));
    // Shift and Ctrl together when both are required.
    Hooks::setUnlockedKeys({{'W', Hooks::RequiresShift | Hooks::RequiresCtrl}});
    EXPECT_TRUE(Hooks::processKey('W', true, false));
    Hooks::processKey(17, true, false);
    EXPECT_FALSE(Hooks::processKey('W', true, false));
}

TEST_F(HooksTest, UnlockingIgnoresCodesOutsideTheTableAndLogsEachEntry) {
    Hooks::setUnlockedKeys({{300, 0}, {-1, 0}, {27, 2}});
    EXPECT_EQ(Hooks::unlockedEntry(27), std::make_pair(27, 2));
    EXPECT_EQ(Hooks::unlockedEntry(300).first, -1);
    const std::string log = mvk::util::Log::instance()->text();
    EXPECT_NE(log.find("Setting unlocked keys"), std::string::npos);
    EXPECT_NE(log.find("key 27"), std::string::npos);
    EXPECT_EQ(log.find("key 300"), std::string::npos);
}

} // namespace
