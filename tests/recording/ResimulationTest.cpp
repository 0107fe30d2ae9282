#include "RecordingFixture.h"
#include "RefNode.h"

#include "core/recording/ResimulateWindow.h"
#include "core/recording/TimerManager.h"
#include "core/windows/ControlDetector.h"
#include "gui/Component.h"
#include "gui/Toolkit.h"
#include "gui/componentinterface/Progressbar.h"
#include "unidevice/Control.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace qvn::test {

namespace {

using Window = RecordManager::ResimulateWindow;
using Channel = std::vector<std::pair<double, double>>;

// A take of the rig at 25 frames per second whose pan follows a stick, then resimulations of it
// through the real progress window. The wall clock moves by `costPerFrame` for every frame the
// rig evaluates, as if each frame took that long.
class Resimulation : public RecordingFixture {
protected:
    void SetUp() override {
        RecordingFixture::SetUp();
        const std::string layout = "/quorvane/data/core/layout/qvn_resimulate.xml";
        environment.writeFile(environment.installRoot() + layout,
                              TestEnvironment::readFile(TestEnvironment::stageRoot() + layout));
        mvk::platform::setTickSource([this] { return now + costPerFrame * frames(); });
        setCountdown(0);
        host.time = 0.0;
        host.frameRate = 25.0;
        host.sampleInterval = 0.04;
        code()->keyBody = true;
        pan()->setDeadzone(0);
        pan()->bind(stick);
    }
    void TearDown() override {
        stick->destroy();
        RecordingFixture::TearDown();
    }
    RigCode* code() const { return static_cast<RigCode*>(rig->getCode()); }
    mvk::unidevice::Property* pan() const { return rig->getProperties()->property("Pan"); }
    uint32_t frames() const {
        return static_cast<uint32_t>(std::count_if(
            code()->notices.begin(), code()->notices.end(),
            [](const std::string& notice) { return notice.rfind("sample", 0) == 0; }));
    }
    // The times the rig evaluated since the notices were last cleared.
    std::vector<double> sampleTimes() const {
        std::vector<double> times;
        for (const std::string& notice : code()->notices)
            if (notice.rfind("sample ", 0) == 0)
                times.push_back(std::stod(notice.substr(7)));
        return times;
    }
    // A live take from 0 s: the stick takes the next value before each 40 ms sample. The rig's
    // notices start afresh after it.
    void recordLive(int samples) {
        host.time = 0.0;
        core->startRecording();
        for (int i = 1; i <= samples; ++i) {
            stick->feed(std::sin(i * 0.3) * 0.8);
            tick(40);
        }
        core->stopRecording();
        code()->notices.clear();
    }
    Window* window() const { return core->getResimulateWindow(); }
    std::string label(int32_t id) const {
        mvk::gui::Component* component = window()->getWindow()->findById(id);
        return component ? component->getLabel() : "(missing)";
    }
    std::vector<std::string> texts() const {
        return {window()->getWindow()->getLabel(), label(101), label(102), label(103), label(104)};
    }
    void slice() { window()->onTimer(Window::TimerId, now); }
    Channel bodyX() const { return host.scene.find(rig->getName() + "_body")->channel(3); }

    mvk::unidevice::Control* stick = new mvk::unidevice::Control(nullptr, 4, 0.1);
    uint32_t costPerFrame = 0;
};

TEST_F(Resimulation, EveryFrameAfterFromUpToToThroughTemporaryControlsAsOneUndoStep) {
    recordLive(60);
    const Channel live = bodyX();
    core->setSlowMotion(3);
    pan()->setMultiplier(-1.0);

    core->resimulate(0.0, 2.0);
    EXPECT_TRUE(core->isRecording());
    EXPECT_EQ(core->startRecording(), ResultRecordingRunning);
    EXPECT_EQ(core->getSlowMotion(), 1);
    EXPECT_EQ(pan()->control()->type(), "Temporary control");
    ASSERT_NE(window(), nullptr);
    ASSERT_NE(window()->getWindow(), nullptr);
    EXPECT_TRUE(window()->getWindow()->isShown());
    EXPECT_EQ(TimerManager::service().runningCount(), 1);
    const size_t clockSet = host.clockTrail.size();
    slice();

    // 0.04 s, 0.08 s, ... 2.0 s: never the frame at `from`, and the frame at `to` itself.
    const std::vector<double> times = sampleTimes();
    ASSERT_EQ(times.size(), 50u);
    for (size_t i = 0; i < times.size(); ++i)
        EXPECT_NEAR(times[i], (i + 1) * 0.04, 1e-9);
    EXPECT_EQ(code()->notices.front(), "begin 0");
    EXPECT_EQ(code()->notices.back(), "end");
    EXPECT_FALSE(core->isRecording());
    EXPECT_EQ(core->getSlowMotion(), 3);
    EXPECT_EQ(pan()->control(), stick);
    EXPECT_EQ(window()->getWindow(), nullptr);
    EXPECT_EQ(TimerManager::service().runningCount(), 0);
    EXPECT_EQ(holds("Resimulating"),
              (std::vector<std::string>{"begin:Resimulating", "accept:Resimulating"}));
    EXPECT_EQ(host.notices.back(), "recordingDone");
    ASSERT_EQ(host.clockTrail.size(), clockSet + 1) << "the host re-evaluates its present time";
    EXPECT_DOUBLE_EQ(host.clockTrail.back(), host.time);

    // The replay went through the present response curve; one undo brings the take back.
    const Channel replayed = bodyX();
    ASSERT_EQ(replayed.size(), live.size());
    EXPECT_DOUBLE_EQ(replayed[10].second, -live[10].second);
    EXPECT_DOUBLE_EQ(replayed[55].second, live[55].second) << "after `to`: untouched";
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(bodyX(), live);
}

TEST_F(Resimulation, AResimulationWithMultiplierTwoMatchesALiveTakeWithMultiplierTwo) {
    recordLive(50);
    const Channel single = bodyX();
    const Instance::RecordedValues recorded = rig->getRecordedValues();
    pan()->setMultiplier(2.0);
    core->resimulate(0.0, 2.0);
    slice();
    const Channel resimulated = bodyX();
    EXPECT_EQ(rig->getRecordedValues().at(0).allKeys(), recorded.at(0).allKeys());

    recordLive(50);
    const Channel live = bodyX();
    // The live takes key 0.04 s to 2.04 s; the range ends at 2.0 s.
    ASSERT_EQ(single.size(), 51u);
    ASSERT_EQ(resimulated.size(), 51u);
    ASSERT_EQ(live.size(), 51u);
    for (size_t i = 0; i < 50; ++i) {
        EXPECT_DOUBLE_EQ(resimulated[i].first, live[i].first);
        EXPECT_NEAR(resimulated[i].second, 2.0 * single[i].second, 1e-12);
        EXPECT_NEAR(resimulated[i].second, live[i].second, 1e-12);
    }
}

TEST_F(Resimulation, SlicesOfHalfASecondWithProgressTextsAndCancelKeepingTheFramesDone) {
    recordLive(500);
    const Channel live = bodyX();
    pan()->setMultiplier(3.0);
    core->resimulate(0.0, 20.0);
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"0% - 0 minutes and 0 seconds",
                                        "Resimulating frame 0 to 500...", "0 out of 500 frames.",
                                        "0 minutes and 0 seconds.", "Current frame: 0"}));

    // 20 ms a frame: a slice does the frames begun within its first 500 ms.
    costPerFrame = 20;
    slice();
    EXPECT_EQ(frames(), 26u);
    slice();
    EXPECT_EQ(frames(), 52u);
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"6% - 0 minutes and 9 seconds",
                                        "Resimulating frame 0 to 500...", "26 out of 500 frames.",
                                        "0 minutes and 9 seconds.", "Current frame: 26"}));
    auto* bar = mvk::gui::interfaceOf<mvk::gui::componentinterface::Progressbar>(
        window()->getWindow()->findById(100));
    ASSERT_NE(bar, nullptr);
    EXPECT_NEAR(bar->getProgress(), 27 * 0.04 / 20, 1e-6);

    costPerFrame = 200;
    slice();
    EXPECT_EQ(frames(), 55u);
    slice();
    EXPECT_EQ(frames(), 58u);
    EXPECT_EQ(label(103), "1 minutes and 28 seconds.");
    EXPECT_EQ(window()->getWindow()->getLabel(), "12% - 1 minutes and 28 seconds");

    // Cancel: the frames done stay, nothing more is evaluated, and one undo removes them.
    auto* cancel = qobject_cast<QAbstractButton*>(window()->getWindow()->findById(99)->getWidget());
    ASSERT_NE(cancel, nullptr);
    // The window goes only after the click has returned: the button is still alive, hidden.
    const QPointer<QAbstractButton> button(cancel);
    const QPointer<QWidget> dialog(cancel->window());
    cancel->click();
    ASSERT_FALSE(button.isNull());
    EXPECT_FALSE(dialog->isVisible());
    mvk::gui::Toolkit::processEvents();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_FALSE(core->isRecording());
    EXPECT_EQ(pan()->control(), stick);
    EXPECT_EQ(code()->notices.back(), "end");
    EXPECT_EQ(holds("Resimulating"),
              (std::vector<std::string>{"begin:Resimulating", "accept:Resimulating"}));
    slice();
    EXPECT_EQ(frames(), 58u);
    const Channel partly = bodyX();
    EXPECT_DOUBLE_EQ(partly[57].second, 3.0 * live[57].second);
    EXPECT_DOUBLE_EQ(partly[58].second, live[58].second);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(bodyX(), live);
}

// From a time on the frame grid that is not written exactly as a multiple of the frame (0.2 s
// at 25 frames per second), a resimulation re-keys the very times the take keyed.
TEST_F(Resimulation, FramesFromAnInexactStartLandOnTheKeysOfTheTakeNotBesideThem) {
    recordLive(50);
    const Channel recorded = bodyX();
    ASSERT_FALSE(recorded.empty());
    core->resimulate(0.2, 1.0);
    while (core->isResimulating())
        slice();
    const Channel resimulated = bodyX();
    ASSERT_EQ(resimulated.size(), recorded.size());
    for (size_t i = 0; i < recorded.size(); ++i)
        EXPECT_EQ(resimulated[i].first, recorded[i].first) << "a key beside the take's";
}

TEST_F(Resimulation, EmptyRangesFinishAtOnceAndNothingStartsOverARunningTake) {
    recordLive(10);
    core->resimulate(0.2, 0.2);
    slice();
    EXPECT_FALSE(core->isRecording());
    EXPECT_EQ(frames(), 0u);
    core->resimulate(0.4, 0.1);
    slice();
    EXPECT_EQ(frames(), 0u);
    EXPECT_EQ(holds("Resimulating").size(), 4u);

    host.frameRate = 0.0;
    core->resimulate(0.0, 1.0);
    EXPECT_FALSE(core->isRecording());
    host.frameRate = 25.0;

    core->startRecording();
    core->resimulate(0.0, 1.0);
    EXPECT_FALSE(core->isResimulating());
    core->stopRecording();
    EXPECT_EQ(holds("Resimulating").size(), 4u);
}

// Binding detection and a resimulation share the timer service; each keeps its own ticks when
// the other starts or stops, in either order. Driven by the service's real Qt timers.
TEST_F(Resimulation, BindingDetectionAndAResimulationRunSideBySideInEitherOrder) {
    recordLive(20);
    const auto runUntilFinished = [this] {
        QElapsedTimer waited;
        waited.start();
        while (core->isResimulating() && waited.elapsed() < 5000)
            mvk::gui::Toolkit::processEvents();
        return !core->isResimulating();
    };
    mvk::qvn::core::ControlDetector detection(rig->getProperties()->property("Tilt"));

    // The resimulation first, detection started and cancelled while it runs.
    core->resimulate(0.0, 0.8);
    detection.start();
    ASSERT_EQ(detection.label(), mvk::qvn::core::ControlDetector::PressText);
    EXPECT_EQ(TimerManager::service().runningCount(), 2);
    detection.cancel();
    EXPECT_EQ(TimerManager::service().runningCount(), 1);
    EXPECT_TRUE(runUntilFinished()) << "the resimulation lost its timer";
    EXPECT_EQ(sampleTimes().size(), 20u);

    // Detection first: the resimulation comes and goes, detection keeps polling.
    detection.start();
    core->resimulate(0.0, 0.8);
    EXPECT_EQ(TimerManager::service().runningCount(), 2);
    EXPECT_TRUE(runUntilFinished()) << "the resimulation's timer went to the detection";
    ASSERT_EQ(TimerManager::service().runningCount(), 1) << "detection lost its timer";
    detection.cancel();
    EXPECT_EQ(TimerManager::service().runningCount(), 0);
}

TEST_F(Resimulation, DetachDuringAResimulationFinishesItBeforeTheInstancesGo) {
    recordLive(100);
    costPerFrame = 100;
    core->resimulate(0.0, 4.0);
    slice();
    detachDuring("Resimulating");
}

} // namespace

} // namespace qvn::test
