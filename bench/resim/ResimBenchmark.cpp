// How fast a take is resimulated: instance-frames per second for ten minutes at 60 frames per
// second of Orbit Camera instances (the sample tool module, loaded from the staged plug-in
// folder) keyed into the reference host, through the progress window's slices.
#include "GoalReport.h"
#include "RefHost.h"
#include "core/CoreImplementation.h"
#include "core/Startup.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/recording/ResimulateWindow.h"
#include "support/TestEnvironment.h"
#include "unidevice/Control.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace mvk::qvn;
using namespace mvk::qvn::core;

constexpr double FrameRate = 60.0;
constexpr double TakeSeconds = 600.0;
constexpr int Inputs = 4; // pan, tilt, dolly, zoom

// A core attached in this process to the reference host, with `count` Orbit Cameras whose
// inputs follow four sticks, and a ten-minute take of them recorded sample by sample.
class Session {
public:
    explicit Session(int count) : environment(qvn::test::TestEnvironment::stageRoot()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        environment.userDataPath();
        core = static_cast<CoreImplementation*>(attachCore(&host));
        if (core == nullptr)
            return;
        core->getSettings().setCountdownSeconds(0);
        host.frameRate = FrameRate;
        host.sampleInterval = 1.0 / FrameRate;
        host.rangeEnd = 1e9;
        for (int i = 0; i < Inputs; ++i)
            sticks.push_back(std::make_unique<mvk::unidevice::Control>(nullptr, 4, 0.1));
        for (int i = 0; i < count; ++i)
            if (!addCamera())
                return;
        recordTake();
    }
    ~Session() {
        if (core != nullptr)
            detachCore(core);
    }
    bool ready() const { return core != nullptr && cameras > 0; }

    int cameras = 0;
    qvn::test::TestEnvironment environment;
    qvn::host::RefHost host;
    std::vector<std::unique_ptr<mvk::unidevice::Control>> sticks;
    CoreImplementation* core = nullptr;

private:
    bool addCamera() {
        const std::string name = core->createInstance("Orbit Camera");
        InstanceReference* made = name.empty() ? nullptr : core->findInstance(name);
        if (made == nullptr)
            return false;
        mvk::unidevice::PropertyHandler* inputs = made->getInstance()->getProperties();
        for (int p = 0; p < Inputs && p < inputs->count(); ++p)
            inputs->property(p)->bind(sticks[static_cast<size_t>(p)].get());
        ++cameras;
        return true;
    }
    void recordTake() {
        core->startRecording();
        const int frames = static_cast<int>(TakeSeconds * FrameRate);
        for (int frame = 1; frame <= frames; ++frame) {
            for (size_t s = 0; s < sticks.size(); ++s)
                sticks[s]->feed(0.7 * std::sin(frame * 0.01 * static_cast<double>(s + 1)));
            core->recordSample(frame * host.getSampleInterval());
        }
        core->stopRecording();
        // The take's undo record holds nothing worth keeping here.
        host.undoStack.clear();
    }
};

void ResimulateTenMinutesAt60Fps(benchmark::State& state) {
    Session session(static_cast<int>(state.range(0)));
    if (!session.ready())
        return state.SkipWithError("no Orbit Camera: is the tool module staged?");
    const double frames = TakeSeconds * FrameRate;
    int slices = 0;
    for (auto _ : state) {
        session.core->resimulate(0.0, TakeSeconds);
        RecordManager::ResimulateWindow* window = session.core->getResimulateWindow();
        while (session.core->isResimulating()) {
            window->onTimer(RecordManager::ResimulateWindow::TimerId, 0);
            ++slices;
        }
        state.PauseTiming();
        session.host.undoStack.clear();
        state.ResumeTiming();
    }
    const double instanceFrames = frames * session.cameras;
    state.counters["instances"] = session.cameras;
    state.counters["instance_frames_per_s"] =
        benchmark::Counter(instanceFrames, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["slices"] =
        static_cast<double>(slices) / static_cast<double>(state.iterations());
}
// Per second of CPU, as the goal is set: on a machine shared with other work the wall clock
// measures the neighbours as much as the resimulation.
BENCHMARK(ResimulateTenMinutesAt60Fps)
    ->Arg(10)
    ->Arg(100)
    ->Iterations(2)
    ->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    qvn::bench::Goal resimulation;
    resimulation.run = "ResimulateTenMinutesAt60Fps/100/";
    resimulation.what = "resimulation with 100 instances";
    resimulation.unit = "M instance-frames/s";
    resimulation.figure = [](const benchmark::BenchmarkReporter::Run& run) {
        const auto found = run.counters.find("instance_frames_per_s");
        return found == run.counters.end() ? -1.0 : found->second.value / 1e6;
    };
    resimulation.limit = 1.5;
    return qvn::bench::runWithGoals(argc, argv, {resimulation});
}
