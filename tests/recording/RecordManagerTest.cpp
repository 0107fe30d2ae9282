#include "RecordingFixture.h"

#include "core/Hooks.h"
#include "util/Log.h"

#include <QAbstractEventDispatcher>

namespace qvn::test {

namespace {

using Recording = RecordingFixture;
namespace Hooks = mvk::qvn::core::Hooks;
using mvk::util::Log;

TEST_F(Recording, CountdownPreRollThenOneSamplePerIntervalAsOneQuietUndoStep) {
    ASSERT_EQ(core->startRecording(), ResultOk);
    EXPECT_EQ(core->startRecording(), ResultRecordingRunning);
    EXPECT_TRUE(Hooks::isCapturing());
    EXPECT_EQ(Log::threshold(), Log::Error);
    Log::instance()->write("a notice while recording", Log::Notice);
    tick(0);
    EXPECT_DOUBLE_EQ(host.time, 7.0);
    while (core->getRecordTime() <= 10.0) {
        EXPECT_EQ(take().samples, 0) << "at " << core->getRecordTime();
        EXPECT_DOUBLE_EQ(host.time, core->getRecordTime());
        tick(130);
    }
    EXPECT_EQ(countdown, (std::vector<std::string>{"start 3", "3", "2", "1", "hide"}));
    EXPECT_NEAR(take().firstSampleTime, 10.1, 1e-9);

    runUntil(12.0);
    const double clock = core->getRecordTime();
    core->stopRecording();
    EXPECT_FALSE(Hooks::isCapturing());
    EXPECT_EQ(Log::threshold(), Log::Notice);
    // Every interval from just after 10 s up to the one the clock is in, none lost or doubled,
    // keyed by the instance; the host is left at the last one.
    EXPECT_GT(take().lastSampleTime, clock);
    EXPECT_LE(take().lastSampleTime, clock + 0.1 + 1e-9);
    const int samples = take().samples;
    EXPECT_EQ(samples, std::lround((take().lastSampleTime - 10.1) / 0.1) + 1);
    ASSERT_EQ(panCurve().keyCount(), static_cast<size_t>(samples));
    EXPECT_DOUBLE_EQ(panCurve().key(0).time, take().firstSampleTime);
    EXPECT_DOUBLE_EQ(panCurve().allKeys().back().time, take().lastSampleTime);
    EXPECT_DOUBLE_EQ(host.time, take().lastSampleTime);
    EXPECT_EQ(holds("Record"), (std::vector<std::string>{"begin:Record", "accept:Record"}));
    ASSERT_EQ(watcher.takes().size(), 1u);
    EXPECT_EQ(watcher.takes()[0].samples, samples);

    const std::string log = Log::instance()->text();
    EXPECT_EQ(log.find("a notice while recording"), std::string::npos);
    size_t at = log.rfind("Start recording");
    for (const char* step : {"Preparing recording", "Activating unidevice", "initalizing plugins",
                             "Initialize complete", "starting countdowntimer", "setting start time",
                             "Starting timer", "Updating record mode"}) {
        at = log.find(step, at);
        ASSERT_NE(at, std::string::npos) << step;
    }
}

TEST_F(Recording, StoppingDuringTheCountdownRecordsNothingAndLeavesTheHostAtTheStartSample) {
    core->startRecording();
    tick(0);
    tick(1500);
    EXPECT_DOUBLE_EQ(host.time, 8.5);
    core->stopRecording();
    EXPECT_EQ(take().samples, 0);
    // Nothing was recorded, so the curves are what they were before the take: none.
    EXPECT_TRUE(rig->getRecordedValues().empty());
    EXPECT_DOUBLE_EQ(host.time, 100 * 0.1);
    EXPECT_EQ(countdown.back(), "hide");
    EXPECT_EQ(holds("Record"), (std::vector<std::string>{"begin:Record", "accept:Record"}));
    EXPECT_EQ(mvk::qvn::core::TimerManager::service().runningCount(), 0);
}

// A start between two samples of the host's grid (1.25 s at 30 fps lies halfway between samples
// 37 and 38): the first key is the first sample after the start, whether a countdown tick lands
// just before the start, exactly on it, or the take is stopped while counting down.
TEST_F(Recording, AnOffGridStartKeysTheFirstSampleAfterItWhereverTheCountdownTicksLand) {
    const double dt = 1.0 / 30.0;
    host.sampleInterval = dt;
    setCountdown(1);

    // A tick at 1.24 s, after sample 37 but before the start, then one just past the start.
    host.time = 1.25;
    core->startRecording();
    tick(0);
    tick(990);
    EXPECT_NEAR(host.time, 1.24, 1e-9);
    EXPECT_EQ(take().samples, 0);
    tick(20);
    ASSERT_EQ(take().samples, 1);
    EXPECT_DOUBLE_EQ(take().firstSampleTime, 38 * dt);
    core->stopRecording();

    // 500 ms ticks from the 0.25 s pre-roll: the third lands exactly on the start, the fourth
    // catches up three samples, which must be the three after the start.
    host.time = 1.25;
    core->startRecording();
    for (int i = 0; i < 3; ++i)
        tick(i == 0 ? 0 : 500);
    EXPECT_DOUBLE_EQ(core->getRecordTime(), 1.25);
    EXPECT_EQ(take().samples, 0);
    tick(500);
    EXPECT_EQ(take().samples, 3);
    EXPECT_DOUBLE_EQ(take().firstSampleTime, 38 * dt);
    EXPECT_DOUBLE_EQ(take().lastSampleTime, 40 * dt);
    runUntil(2.0, 500);
    core->stopRecording();
    // Every sample from the first after the start on, none skipped.
    const auto& keys = panCurve().allKeys();
    ASSERT_FALSE(keys.empty());
    EXPECT_DOUBLE_EQ(keys.front().time, 38 * dt);
    for (size_t i = 1; i < keys.size(); ++i)
        EXPECT_NEAR(keys[i].time - keys[i - 1].time, dt, 1e-9) << "key " << i;

    // Stopped during the countdown after a tick between sample 37 and the start: the host is
    // left at sample 37, the sample at the start time, and nothing is keyed: the curves of the
    // take before stay as they were.
    const size_t before = panCurve().keyCount();
    host.time = 1.25;
    core->startRecording();
    tick(0);
    tick(990);
    core->stopRecording();
    EXPECT_EQ(take().samples, 0);
    EXPECT_EQ(panCurve().keyCount(), before);
    EXPECT_DOUBLE_EQ(host.time, 37 * dt);
}

TEST_F(Recording, SlowMotionHalvesTheClockAndTheRangeEndDoublesOrEndsTheTake) {
    setCountdown(0);
    host.time = 0.0;
    host.rangeStart = -1.0;
    host.rangeEnd = 5.0;
    core->setSlowMotion(2);
    core->startRecording();
    tick(0);
    tick(1000);
    EXPECT_DOUBLE_EQ(core->getRecordTime(), 0.5);
    core->setSlowMotion(1); // reaches the host at once
    runUntil(5.5);
    EXPECT_TRUE(core->isRecording());
    EXPECT_DOUBLE_EQ(host.rangeEnd, 10.0);
    EXPECT_DOUBLE_EQ(host.rangeStart, -1.0);
    core->stopRecording();
    EXPECT_EQ(host.notices, (std::vector<std::string>{"slowdown:2", "slowdown:1", "slowdown:1",
                                                      "recordingDone"}));

    // Auto-expand unticked: the take stops at the range end, the host at the sample handled.
    core->setCheckBoxLookup([](int32_t id) {
        return id == RecordManager::AutoExpandCheckBox ? std::optional<bool>(false) : std::nullopt;
    });
    host.time = 0.0;
    host.rangeEnd = 5.0;
    core->startRecording();
    for (int i = 0; i < 100 && core->isRecording(); ++i)
        tick(100);
    EXPECT_FALSE(core->isRecording());
    EXPECT_DOUBLE_EQ(host.rangeEnd, 5.0);
    EXPECT_NEAR(host.time, 5.0, 0.1 + 1e-9);
    EXPECT_GE(host.time, take().lastSampleTime);
    EXPECT_EQ(holds("Record").size(), 4u);
    EXPECT_FALSE(Hooks::isCapturing());
}

TEST_F(Recording, AStalledHostIsCaughtUpThreeSamplesPerTickAndTheTimerSleepsInBetween) {
    const auto interval = [] {
        const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(
            &mvk::qvn::core::TimerManager::service());
        return timers.size() == 1 ? timers[0].interval : -1;
    };
    setCountdown(0);
    host.time = 0.0;
    host.sampleInterval = 0.02;
    core->startRecording();
    EXPECT_EQ(interval(), 20);
    runUntil(1.0, 20);
    const int beforeStall = take().samples;
    EXPECT_LT(take().maxLagMilliseconds, 20.0) << "no sample was due a whole interval ago";

    tick(200);
    EXPECT_EQ(take().samples - beforeStall, 3);
    std::vector<int> perTick;
    for (int i = 0; i < 6; ++i) {
        const int samples = take().samples;
        tick(20);
        perTick.push_back(take().samples - samples);
    }
    EXPECT_EQ(perTick, (std::vector<int>{3, 3, 3, 2, 1, 1}));
    EXPECT_GE(take().lateSamples, 10);
    EXPECT_GE(take().maxLagMilliseconds, 160.0);
    EXPECT_LE(take().maxLagMilliseconds, 200.0);
    // Re-armed for what is left of the interval after the tick's own work, rounded up; a
    // tick longer than the interval re-arms at 1 ms, never 0.
    now += 20;
    core->onTimer(RecordManager::RecordTimerId, now - 7);
    EXPECT_EQ(interval(), 13);
    now += 100;
    core->onTimer(RecordManager::RecordTimerId, now - 40);
    EXPECT_EQ(interval(), 1);
    core->stopRecording();
    EXPECT_EQ(interval(), -1);
    EXPECT_EQ(panCurve().keyCount(), static_cast<size_t>(take().samples));
}

TEST_F(Recording, TheRecordListIsFixedAtTheStartAndLosesInstancesDestroyedDuringTheTake) {
    setCountdown(0);
    core->startRecording();
    ASSERT_EQ(core->getRecordList().size(), 2u);
    Instance* late = core->findInstance(core->createInstance("Rig"))->getInstance();
    core->updateInstances(2.5);
    EXPECT_EQ(static_cast<RigCode*>(rig->getCode())->updates, std::vector<double>{2.5});
    EXPECT_TRUE(static_cast<RigCode*>(late->getCode())->updates.empty());
    tick(100);
    rig->destroy();
    EXPECT_EQ(core->getRecordList().size(), 1u);
    tick(100);
    EXPECT_EQ(core->stopRecording(), ResultOk);
    EXPECT_EQ(take().samples, 2);
}

TEST_F(Recording, DetachStopsARunningTakeBeforeTheInstancesGo) {
    core->startRecording();
    runUntil(10.5);
    detachDuring("Record");
    EXPECT_FALSE(Hooks::isCapturing());
}

} // namespace

} // namespace qvn::test
