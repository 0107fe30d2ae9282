// What recording costs the host's GUI thread: the per-sample work of recordSample with many
// instances at the start of a take and an hour into it, and the thread's CPU share while a take
// runs at 60 Hz on real timers.
#include "RefHost.h"
#include "core/CoreImplementation.h"
#include "core/Startup.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/CoreLibrary.h"
#include "core/libraries/LibraryManager.h"
#include "sdk/CCameraPlugin.h"
#include "sdk/CInterface.h"
#include "support/TestEnvironment.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"
#include "unidevice/WINHOOK_KeyboardDevice.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace mvk::qvn;
using namespace mvk::qvn::core;

constexpr int InputsPerInstance = 10;
constexpr double SampleInterval = 1.0 / 60.0;
constexpr int MeasuredSamples = 2000;
constexpr int HourOfSamples = 216000;

class InputsCode : public CCamera {
public:
    explicit InputsCode(const CreateParam& param) : CCamera(param) {}
    int32_t initialize() override {
        for (int i = 0; i < InputsPerInstance; ++i)
            getInterface()->addProperty("Input " + std::to_string(i), 4);
        return 0;
    }
};

class InputsPlugin : public CCameraPlugin {
public:
    CCamera* createCamera(const CCamera::CreateParam& param) override {
        return new InputsCode(param);
    }
    std::string getName() const override { return "Inputs"; }
    std::string getDataPath() const override { return "bench/Inputs"; }
    std::string getShortDescription() const override { return {}; }
    std::string getCategory() const override { return "Camera"; }
    std::string getLongDescription() const override { return {}; }
    std::string getAuthor() const override { return {}; }
    uint32_t getVersion() const override { return 1; }
};

// A core attached in this process with `instances` instances whose every input is bound to a
// key of the keyboard device.
class Session {
public:
    explicit Session(int instances) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        environment.userDataPath();
        core = static_cast<CoreImplementation*>(attachCore(&host));
        LibraryManager::instance()->addToolToLibrary(CoreLibrary::instance(), &plugin);
        core->getSettings().setCountdownSeconds(0);
        host.sampleInterval = SampleInterval;
        host.rangeEnd = 1e9;
        auto* keyboard = mvk::unidevice::WINHOOK_KeyboardDevice::live();
        for (int i = 0; i < instances; ++i) {
            InstanceReference* made = core->InstanceManager::createInstance("Inputs", "");
            mvk::unidevice::PropertyHandler* inputs = made->getInstance()->getProperties();
            for (int p = 0; p < inputs->count(); ++p)
                inputs->property(p)->bind(keyboard->key('A' + p));
        }
    }
    ~Session() { detachCore(core); }
    bool ready() const { return core != nullptr; }

    qvn::test::TestEnvironment environment;
    qvn::host::RefHost host;
    InputsPlugin plugin;
    CoreImplementation* core = nullptr;
};

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Times MeasuredSamples samples one by one from sample `first` on; reports their median.
void measureSamples(benchmark::State& state, Session& session, int first) {
    std::vector<double> microseconds;
    microseconds.reserve(MeasuredSamples);
    int sample = first;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        session.core->recordSample(++sample * SampleInterval);
        const auto end = std::chrono::steady_clock::now();
        microseconds.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
    }
    state.counters["median_us"] = median(microseconds);
    state.counters["share_of_interval_%"] = median(microseconds) / (SampleInterval * 1e6) * 100;
}

void RecordSampleAtTakeStart(benchmark::State& state) {
    Session session(static_cast<int>(state.range(0)));
    if (!session.ready())
        return state.SkipWithError("attach failed");
    session.core->startRecording();
    measureSamples(state, session, 0);
    session.core->stopRecording();
}
BENCHMARK(RecordSampleAtTakeStart)
    ->Arg(100)
    ->Iterations(MeasuredSamples)
    ->Unit(benchmark::kMicrosecond);

void RecordSampleAfterAnHour(benchmark::State& state) {
    Session session(static_cast<int>(state.range(0)));
    if (!session.ready())
        return state.SkipWithError("attach failed");
    session.core->startRecording();
    for (int sample = 1; sample <= HourOfSamples; ++sample)
        session.core->recordSample(sample * SampleInterval);
    measureSamples(state, session, HourOfSamples);
    session.core->stopRecording();
}
BENCHMARK(RecordSampleAfterAnHour)
    ->Arg(100)
    ->Iterations(MeasuredSamples)
    ->Unit(benchmark::kMicrosecond);

double threadCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// A take on the real clock and the real timer service, with the host's loop waiting for events
// in between: the share of one core the GUI thread spends while recording.
void GuiThreadWhileRecordingAt60Hz(benchmark::State& state) {
    Session session(1);
    if (!session.ready())
        return state.SkipWithError("attach failed");
    constexpr double Seconds = 4.0;
    for (auto _ : state) {
        session.core->startRecording();
        const double cpuBefore = threadCpuSeconds();
        const auto begin = std::chrono::steady_clock::now();
        while (std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count() <
               Seconds)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        const double cpu = threadCpuSeconds() - cpuBefore;
        session.core->stopRecording();
        state.counters["cpu_share_%"] = cpu / wall * 100;
        state.counters["samples"] = session.core->getTakeReport().samples;
        state.counters["late_samples"] = session.core->getTakeReport().lateSamples;
        state.counters["max_lag_ms"] = session.core->getTakeReport().maxLagMilliseconds;
    }
}
BENCHMARK(GuiThreadWhileRecordingAt60Hz)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
