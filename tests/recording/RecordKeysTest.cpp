#include "RecordingFixture.h"

#include "core/Hooks.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"
#include "unidevice/WINHOOK_KeyboardDevice.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace qvn::test {

namespace {

// A window of the host: counts the keys that reach it.
class HostWindow : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
    void keyReleaseEvent(QKeyEvent* event) override { keys.push_back(-event->key()); }
};

class RecordKeys : public RecordingFixture {
protected:
    // The window needs the application object the core makes at attach, and must go first.
    void SetUp() override {
        RecordingFixture::SetUp();
        window = std::make_unique<HostWindow>();
    }
    void TearDown() override {
        window.reset();
        RecordingFixture::TearDown();
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(window.get(), &event);
    }
    void release(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(window.get(), &event);
    }
    void type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        press(key, modifiers);
        release(key, modifiers);
    }
    std::unique_ptr<HostWindow> window;
};

TEST_F(RecordKeys, SpaceOrEscapeStopsTheTakeOnReleaseAndTheHostNeverSeesThem) {
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Escape}) {
        core->startRecording();
        runUntil(10.5);
        press(key);
        EXPECT_TRUE(core->isRecording()) << "only the release stops";
        release(key);
        EXPECT_FALSE(core->isRecording());
        EXPECT_TRUE(window->keys.empty());
    }
    // Without a take the keys belong to the host again.
    type(Qt::Key_Space);
    EXPECT_EQ(window->keys, (std::vector<int>{Qt::Key_Space, -Qt::Key_Space}));
}

TEST_F(RecordKeys, CapturedKeysStillReachTheKeyboardDeviceAndUnlockedKeysReachTheHost) {
    core->setUnlockedKeys({{'S', mvk::qvn::core::Hooks::RequiresCtrl}, {'U', 0}});
    auto* keyboard = mvk::unidevice::WINHOOK_KeyboardDevice::live();
    ASSERT_NE(keyboard, nullptr);
    rig->getProperties()->property("Pan")->bind(keyboard->key('A'));
    setCountdown(0);
    core->startRecording();
    tick(100);
    press(Qt::Key_A);
    tick(100);
    release(Qt::Key_A);
    tick(100);
    // The key steered the rig while the host never saw it.
    std::vector<double> pan;
    for (const auto& key : panCurve().allKeys())
        pan.push_back(key.value);
    EXPECT_EQ(pan, (std::vector<double>{0.0, 1.0, 0.0}));
    type(Qt::Key_U);
    type(Qt::Key_S); // needs Ctrl: captured
    press(Qt::Key_Control, Qt::ControlModifier);
    type(Qt::Key_S, Qt::ControlModifier);
    release(Qt::Key_Control);
    EXPECT_TRUE(core->isRecording());
    EXPECT_EQ(window->keys, (std::vector<int>{Qt::Key_U, -Qt::Key_U, Qt::Key_S, -Qt::Key_S}));
    core->stopRecording();
}

// Ctrl released between two takes reaches the host, not the capture: the next take must not
// read a bare Z as Ctrl+Z (which would throw the take away and start another).
TEST_F(RecordKeys, ACtrlReleasedBetweenTakesDoesNotTurnZIntoARetake) {
    core->startRecording();
    runUntil(10.5);
    press(Qt::Key_Control, Qt::ControlModifier);
    type(Qt::Key_Space, Qt::ControlModifier);
    ASSERT_FALSE(core->isRecording());
    release(Qt::Key_Control);
    EXPECT_EQ(window->keys, std::vector<int>{-Qt::Key_Control});

    const int steps = host.undoStack.stepCount();
    core->startRecording();
    runUntil(11.0);
    type(Qt::Key_Z);
    EXPECT_TRUE(core->isRecording());
    EXPECT_EQ(watcher.takes().size(), 1u) << "the take was stopped and retaken";
    type(Qt::Key_Space);
    EXPECT_EQ(watcher.takes().size(), 2u);
    EXPECT_EQ(host.undoStack.stepCount(), steps + 1);
}

TEST_F(RecordKeys, CtrlZRetakesLeavingOneUndoStepPerKeptTake) {
    const int stepsBefore = host.undoStack.stepCount();
    core->startRecording();
    runUntil(11.0);
    press(Qt::Key_Control, Qt::ControlModifier);
    type(Qt::Key_Z, Qt::ControlModifier);
    release(Qt::Key_Control);
    // The first take was stopped, undone by the host and a new one started at once.
    ASSERT_TRUE(core->isRecording());
    EXPECT_EQ(watcher.takes().size(), 1u);
    EXPECT_EQ(host.undoStack.stepCount(), stepsBefore);
    std::vector<std::string> holds = host.undoStack.history();
    holds.erase(holds.begin(), holds.end() - 3);
    EXPECT_EQ(holds, (std::vector<std::string>{"begin:Record", "accept:Record", "begin:Record"}));
    EXPECT_DOUBLE_EQ(host.time, watcher.takes()[0].lastSampleTime)
        << "the retake starts where the stop left the host";
    runUntil(12.0);
    type(Qt::Key_Space);
    EXPECT_FALSE(core->isRecording());
    ASSERT_EQ(host.undoStack.stepCount(), stepsBefore + 1);
    EXPECT_EQ(host.undoStack.stepName(stepsBefore), "Record");
    // One record of curves per recorded instance (the root group and the rig).
    EXPECT_EQ(host.undoStack.recordCount(stepsBefore), 2);
    EXPECT_EQ(core->getRecordList().size(), 2u);
    // The kept curves are the retake's, and undoing the step leaves the rig without a take.
    EXPECT_DOUBLE_EQ(panCurve().key(0).time, watcher.takes()[0].lastSampleTime + 0.1);
    ASSERT_TRUE(host.undo());
    EXPECT_TRUE(rig->getRecordedValues().empty());
    EXPECT_EQ(watcher.takes().size(), 2u);
    EXPECT_TRUE(window->keys.empty());
}

} // namespace

} // namespace qvn::test
