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
    // Modifiers are released with capture on: with it off the hook ignores every key.
    void TearDown() override {
        Hooks::removeKeyEventCallback(&recorder);
        Hooks::setUnlockedKeys({});
        Hooks::setCapture(true);
        Hooks::processKey(16, false, false);
        Hooks::processKey(17, false, false);
        Hooks::setCapture(false);
        if (auto* collector = mvk::util::SingletonCollector::existing())
            collector->destroyAll();
    }
    Recorder recorder;
};

TEST_F(HooksTest, CapturedKeysAreSwallowedAndHandedToCallbacksUnlessCaptureIsOff) {
    EXPECT_TRUE(Hooks::processKey(32, true, false));
    EXPECT_TRUE(Hooks::processKey(32, false, false));
    ASSERT_EQ(recorder.keys.size(), 2u);
    EXPECT_TRUE(recorder.keys[0].down);
    EXPECT_FALSE(recorder.keys[1].down);
    // A key without a code is taken from the host but reported to nobody.
    EXPECT_TRUE(Hooks::processKey(0, true, false));
    EXPECT_TRUE(Hooks::processKey(0, false, false));
    Hooks::setCapture(false);
    EXPECT_FALSE(Hooks::processKey(32, true, false));
    EXPECT_EQ(recorder.keys.size(), 2u);
}

TEST_F(HooksTest, UnlockedKeysPassOnlyWhileTheModifiersTheirFlagsRequireAreHeld) {
    using namespace Hooks;
    struct Case {
        int32_t flags;
        bool ctrl, alt, shift, passes;
    };
    const Case cases[] = {
        {0, false, false, false, true},
        {RequiresCtrl, false, true, true, false},
        {RequiresAlt, false, true, false, true},
        {RequiresShift | RequiresCtrl, false, false, true, false},
        {RequiresShift | RequiresCtrl, true, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " ctrl " << c.ctrl << " alt "
                                        << c.alt << " shift " << c.shift);
        processKey(17, c.ctrl, false);
        processKey(16, c.shift, false);
        setUnlockedKeys({{'S', c.flags}});
        EXPECT_EQ(processKey('S', true, c.alt), !c.passes);
    }
}

} // namespace
