#include "RecordingFixture.h"

#include "core/Hooks.h"
#include "core/recording/TimerManager.h"
#include "util/Log.h"

#include <QAbstractEventDispatcher>

#include <algorithm>

namespace qvn::test {

namespace {

using Recording = RecordingFixture;

// The host's hold events of the takes (instance creation has its own).
std::vector<std::string> holds(const host::RefHost& host) {
    std::vector<std::string> takes;
    for (const std::string& event : host.undoStack.history())
        if (event.find(":Record") != std::string::npos)
            takes.push_back(event);
    return takes;
}

TEST_F(Recording, CountdownRunsTheHostFromThePreRollAndSamplesOnlyAfterTheStartTime) {
    ASSERT_EQ(core->startRecording(), ResultOk);
    EXPECT_TRUE(core->isRecording());
    EXPECT_TRUE(mvk::qvn::core::Hooks::isCapturing());
    EXPECT_EQ(countdown, std::vector<std::string>{"start 3"});
    tick(0);
    EXPECT_DOUBLE_EQ(host.time, 7.0);
    while (core->getRecordTime() <= 10.0) {
        EXPECT_EQ(take().samples, 0) << "at " << core->getRecordTime();
        EXPECT_DOUBLE_EQ(host.time, core->getRecordTime());
        tick(130);
    }
    EXPECT_EQ(countdown, (std::vector<std::string>{"start 3", "3", "2", "1", "hide"}));
    ASSERT_GT(take().samples, 0);
    EXPECT_GT(take().firstSampleTime, 10.0);
    EXPECT_NEAR(take().firstSampleTime, 10.1, 1e-9);

    runUntil(12.0);
    const double clock = core->getRecordTime();
    core->stopRecording();
    EXPECT_FALSE(mvk::qvn::core::Hooks::isCapturing());
    // One sample per host interval from just after 10 s up to the interval the clock is in,
    // none lost or doubled; the host is left at the last one.
    EXPECT_GT(take().lastSampleTime, clock);
    EXPECT_LE(take().lastSampleTime, clock + 0.1 + 1e-9);
    const int samples = take().samples;
    EXPECT_EQ(samples, std::lround((take().lastSampleTime - 10.1) / 0.1) + 1);
    EXPECT_DOUBLE_EQ(host.time, take().lastSampleTime);
    // The instance keyed exactly those samples.
    ASSERT_EQ(panCurve().keyCount(), static_cast<size_t>(samples));
    EXPECT_DOUBLE_EQ(panCurve().key(0).time, take().firstSampleTime);
    EXPECT_DOUBLE_EQ(panCurve().allKeys().back().time, take().lastSampleTime);
    EXPECT_EQ(holds(host), (std::vector<std::string>{"begin:Record", "accept:Record"}));
    ASSERT_EQ(watcher.takes().size(), 1u);
    EXPECT_EQ(watcher.takes()[0].samples, samples);
}

TEST_F(Recording, SlowMotionHalvesTheRecordClockAndSetsTheHostSlowdownForTheTake) {
    setCountdown(0);
    core->setSlowMotion(2);
    core->startRecording();
    tick(0);
    const double before = core->getRecordTime();
    tick(1000);
    EXPECT_DOUBLE_EQ(core->getRecordTime() - before, 0.5);
    // Changing the factor during the take reaches the host at once.
    core->setSlowMotion(3);
    core->stopRecording();
    EXPECT_EQ(host.notices,
              (std::vector<std::string>{"slowdown:2", "slowdown:4", "slowdown:1", "recordingDone"}));
    EXPECT_EQ(core->getSlowMotion(), 3) << "the factor outlives the take";
}

TEST_F(Recording, RangeEndIsDoubledWithAutoExpandAndEndsTheTakeWithoutIt) {
    setCountdown(0);
    host.time = 0.0;
    host.rangeStart = -1.0;
    host.rangeEnd = 5.0;
    core->startRecording();
    runUntil(5.5);
    EXPECT_TRUE(core->isRecording());
    EXPECT_DOUBLE_EQ(host.rangeEnd, 10.0);
    EXPECT_DOUBLE_EQ(host.rangeStart, -1.0);
    core->stopRecording();

    // Auto-expand unticked: the take stops at the range end and the host stays at the last
    // sample handled.
    core->setCheckBoxLookup([](int32_t id) -> std::optional<bool> {
        if (id == RecordManager::AutoExpandCheckBox)
            return false;
        return std::nullopt;
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
    EXPECT_EQ(holds(host).back(), "accept:Record");
    EXPECT_EQ(holds(host).size(), 4u);
    EXPECT_FALSE(mvk::qvn::core::Hooks::isCapturing());
}

TEST_F(Recording, StoppingDuringTheCountdownRecordsNothingAndLeavesTheHostAtTheStartSample) {
    core->startRecording();
    tick(0);
    tick(1500);
    EXPECT_DOUBLE_EQ(host.time, 8.5);
    core->stopRecording();
    EXPECT_EQ(take().samples, 0);
    EXPECT_EQ(panCurve().keyCount(), 0u);
    EXPECT_DOUBLE_EQ(host.time, 100 * 0.1);
    EXPECT_EQ(countdown.back(), "hide");
    EXPECT_EQ(holds(host), (std::vector<std::string>{"begin:Record", "accept:Record"}));
    // No timer of the take is left running.
    EXPECT_EQ(mvk::qvn::core::TimerManager::service().runningCount(), 0);
}

TEST_F(Recording, SecondStartIsRefusedAndTheLogIsQuietWhileRecordingAndRestoredAfter) {
    mvk::util::Log::setLevel(mvk::util::Log::Warning);
    ASSERT_EQ(core->startRecording(), ResultOk);
    EXPECT_EQ(mvk::util::Log::threshold(), mvk::util::Log::Error);
    EXPECT_EQ(core->startRecording(), ResultRecordingRunning);
    mvk::util::Log::instance()->write("a notice while recording", mvk::util::Log::Notice);
    runUntil(10.5);
    core->stopRecording();
    EXPECT_EQ(mvk::util::Log::threshold(), mvk::util::Log::Warning);
    EXPECT_EQ(holds(host), (std::vector<std::string>{"begin:Record", "accept:Record"}));

    mvk::util::Log::setLevel(mvk::util::Log::Notice);
    core->startRecording();
    core->stopRecording();
    const std::string log = mvk::util::Log::instance()->text();
    EXPECT_EQ(log.find("a notice while recording"), std::string::npos);
    size_t at = log.rfind("Start recording");
    for (const char* step : {"Preparing recording", "Activating unidevice", "initalizing plugins",
                             "Initialize complete", "starting countdowntimer",
                             "setting start time", "Starting timer", "Updating record mode",
                             "Stop recording", "finishing recording", "finishing plugins",
                             "Deactivating unidevice"}) {
        const size_t next = log.find(step, at);
        ASSERT_NE(next, std::string::npos) << step;
        at = next;
    }
}

TEST_F(Recording, AStalledHostIsCaughtUpThreeSamplesPerTickWithoutLosingAny) {
    setCountdown(0);
    host.time = 0.0;
    host.sampleInterval = 0.02;
    core->startRecording();
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
    core->stopRecording();
    // Consecutive samples on the grid: as many as the grid holds between first and last.
    EXPECT_EQ(take().samples,
              static_cast<int>(std::lround((take().lastSampleTime - take().firstSampleTime) /
                                           0.02)) + 1);
    EXPECT_GE(take().lateSamples, 10);
    EXPECT_GE(take().maxLagMilliseconds, 160.0);
    EXPECT_LE(take().maxLagMilliseconds, 200.0);
}

TEST_F(Recording, TheTimerIsReArmedForTheTimeLeftInWholeMillisecondsNeverZero) {
    const auto interval = [] {
        const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(
            &mvk::qvn::core::TimerManager::service());
        return timers.size() == 1 ? timers[0].interval : -1;
    };
    host.sampleInterval = 1.0 / 60.0;
    core->startRecording();
    EXPECT_EQ(interval(), 17);
    tick(0);
    EXPECT_EQ(interval(), 17);
    // The tick's own work took 10 ms: 6.67 ms are left, rounded up.
    now += 20;
    core->onTimer(RecordManager::RecordTimerId, now - 10);
    EXPECT_EQ(interval(), 7);
    // Longer than a sample interval: the next tick comes as soon as possible, but not at 0.
    now += 100;
    core->onTimer(RecordManager::RecordTimerId, now - 40);
    EXPECT_EQ(interval(), 1);
    core->stopRecording();
    EXPECT_EQ(interval(), -1);
}

TEST_F(Recording, DetachStopsARunningTakeBeforeTheInstancesGo) {
    core->startRecording();
    runUntil(10.5);
    detachCore(core);
    core = nullptr;
    EXPECT_EQ(host.undoStack.history().back(), "accept:Record");
    const auto done = std::find(host.notices.begin(), host.notices.end(), "recordingDone");
    const auto detached = std::find(host.notices.begin(), host.notices.end(), "coreDetach");
    ASSERT_NE(done, host.notices.end());
    EXPECT_LT(done, detached);
    EXPECT_FALSE(mvk::qvn::core::Hooks::isCapturing());
    EXPECT_EQ(mvk::qvn::core::TimerManager::service().runningCount(), 0);
}

} // namespace

} // namespace qvn::test
