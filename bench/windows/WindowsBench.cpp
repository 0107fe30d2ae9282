// The main dialog with a scene of 200 tools: its first opening (the layout load counted apart)
// and rebuilding the tool tree after one more tool was added. And the layouts users open most,
// the main dialog, the configuration window and the input settings: reading each file alone,
// and reading it and building its components, so the reader's share of an opening shows.
#include "RefHost.h"
#include "core/CoreImplementation.h"
#include "core/Startup.h"
#include "core/instances/InstanceReference.h"
#include "core/windows/WindowBase.h"
#include "gui/Component.h"
#include "support/TestEnvironment.h"
#include "util/xml/Element.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

using mvk::qvn::core::CoreImplementation;
constexpr int SceneSize = 200;

struct Scene {
    Scene() : environment(qvn::test::TestEnvironment::stageRoot()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        environment.userDataPath();
        core = static_cast<CoreImplementation*>(mvk::qvn::core::attachCore(&host));
        for (int i = 0; core != nullptr && i < SceneSize; ++i)
            core->InstanceManager::createInstance("Group", "");
    }
    ~Scene() {
        if (core != nullptr)
            mvk::qvn::core::detachCore(core);
    }
    qvn::test::TestEnvironment environment;
    qvn::host::RefHost host;
    CoreImplementation* core = nullptr;
};

// Reading qvn_main.xml and building its component tree, as the first opening needs.
void LoadMainLayout(benchmark::State& state) {
    Scene scene;
    const std::string path = mvk::qvn::core::WindowBase::layoutPath("qvn_main.xml");
    for (auto _ : state) {
        mvk::util::xml::Element layout;
        layout.load(path);
        mvk::gui::Component* root = scene.core->createComponent(layout);
        scene.core->setImageAliases(root);
        benchmark::DoNotOptimize(root);
        root->destroy();
    }
}
BENCHMARK(LoadMainLayout)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The layout files whose opening is measured, by their file names.
const char* const OpenedLayouts[] = {"qvn_main.xml", "qvn_config.xml", "qvn_inputs.xml"};

// Reading a layout file into its tree, nothing else.
void ReadLayout(benchmark::State& state, const std::string& file) {
    Scene scene;
    const std::string path = mvk::qvn::core::WindowBase::layoutPath(file);
    for (auto _ : state) {
        mvk::util::xml::Element layout;
        if (layout.load(path) != mvk::util::xml::Element::Parsed)
            return state.SkipWithError(("cannot read " + path).c_str());
        benchmark::DoNotOptimize(layout);
    }
}

// Reading a layout file and building its components, as an opening does before it shows them.
void OpenLayout(benchmark::State& state, const std::string& file) {
    Scene scene;
    const std::string path = mvk::qvn::core::WindowBase::layoutPath(file);
    for (auto _ : state) {
        mvk::util::xml::Element layout;
        layout.load(path);
        mvk::gui::Component* root = scene.core->createComponent(layout);
        if (root == nullptr)
            return state.SkipWithError(("cannot build " + path).c_str());
        scene.core->setImageAliases(root);
        benchmark::DoNotOptimize(root);
        root->destroy();
    }
}

const bool layoutBenchmarks = [] {
    for (const char* file : OpenedLayouts) {
        benchmark::RegisterBenchmark((std::string("ReadLayout/") + file).c_str(), ReadLayout,
                                     std::string(file))
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("OpenLayout/") + file).c_str(), OpenLayout,
                                     std::string(file))
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

// The first openMainDialog of a freshly attached core with 200 tools in its tree.
void FirstOpenMainDialog(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto* scene = new Scene();
        state.ResumeTiming();
        scene->core->openMainDialog();
        state.PauseTiming();
        delete scene;
        state.ResumeTiming();
    }
}
BENCHMARK(FirstOpenMainDialog)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// Rebuilding the tool tree after one tool was added to a tree of 200.
void RefreshTreeAfterAdding(benchmark::State& state) {
    Scene scene;
    scene.core->openMainDialog();
    for (auto _ : state) {
        state.PauseTiming();
        mvk::qvn::core::InstanceReference* added =
            scene.core->InstanceManager::createInstance("Group", "");
        state.ResumeTiming();
        scene.core->refreshTree();
        state.PauseTiming();
        added->deleteReference(false);
        scene.core->refreshTree();
        state.ResumeTiming();
    }
}
BENCHMARK(RefreshTreeAfterAdding)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
