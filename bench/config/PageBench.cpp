// Preference pages of a tool with 300 configuration elements: building one page, and switching
// a shown page area between the pages of two such instances the way the configuration window
// does (the old page set aside, the new one taken back or built, appended and shown, events
// processed).
#include "GoalReport.h"
#include "core/configadaptor/CheckBox.h"
#include "core/configadaptor/ComboBox.h"
#include "core/configadaptor/PageCache.h"
#include "core/configadaptor/Spinner.h"
#include "core/configadaptor/Spinner_Int.h"
#include "core/configadaptor/TextBox.h"
#include "core/configadaptor/TreeBuilder.h"
#include "gui/Component.h"
#include "gui/Toolkit.h"
#include "util/xml/Element.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>

namespace {

using namespace mvk::qvn::core::configadaptor;
using mvk::gui::Component;

constexpr int Groups = 10;
constexpr int PerGroup = 29; // with the groups: 300 elements

// The variables and the configuration tree of one instance.
struct Instance {
    std::array<double, Groups * PerGroup> reals{};
    std::array<int32_t, Groups * PerGroup> integers{};
    std::array<bool, Groups * PerGroup> flags{};
    std::array<std::string, Groups * PerGroup> texts{};
    TreeBuilder tree;

    Instance() {
        tree.beginConfig();
        for (int group = 0; group < Groups; ++group) {
            tree.beginGroup("Group " + std::to_string(group), "What the group sets");
            for (int i = 0; i < PerGroup; ++i)
                tree.add(element(group * PerGroup + i));
            tree.endGroup();
        }
    }

    Node* element(int n) {
        const std::string label = "Setting " + std::to_string(n);
        const int32_t id = tree.takeId();
        switch (n % 5) {
        case 0:
            return new element::Spinner(id, label, "", &reals[n], 0, 100, 0.5, 1, nullptr);
        case 1:
            return new element::Spinner_Int(id, label, "", &integers[n], 0, 100, 1, 1, nullptr);
        case 2:
            return new element::CheckBox(id, label, "", &flags[n], nullptr);
        case 3:
            texts[n] = "Smooth";
            return new element::ComboBox(id, label, "", &texts[n], {"Linear", "Smooth", "Step"},
                                         nullptr);
        default:
            return new element::TextBox(id, label, "", &texts[n], nullptr);
        }
    }
};

void startToolkit() {
    mvk::gui::Toolkit::start();
    if (mvk::gui::ComponentFactory::instance()->factoryCount() == 0)
        mvk::gui::Toolkit::registerFactories();
}

void BM_BuildPage(benchmark::State& state) {
    startToolkit();
    Instance instance;
    for (auto _ : state) {
        Component* page = instance.tree.top()->buildPage();
        benchmark::DoNotOptimize(page);
        page->destroy();
    }
}
BENCHMARK(BM_BuildPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// One switch as the configuration window makes it: the shown page is set aside (kept, or
// destroyed when the cache keeps none) and the other instance's page is taken back or built,
// appended and shown, and the events that caused are processed.
Component* showNext(Component* area, PageCache& cache, Component* shown, Instance& from,
                    Instance& next) {
    cache.keep(&from, from.tree.top(), shown);
    Component* page = cache.take(&next, next.tree.top());
    if (page == nullptr)
        page = next.tree.top()->buildPage();
    area->addChild(page);
    page->show();
    mvk::gui::Toolkit::processEvents();
    return page;
}

// The timed switches, out of line so a profiler can count them alone
// (callgrind --toggle-collect='*switchPage*').
[[gnu::noinline]] Component* switchPage(Component* area, PageCache& cache, Component* shown,
                                        Instance& from, Instance& next) {
    return showNext(area, cache, shown, from, next);
}

// Switching between the pages of two instances, with the last page kept (kept:1, as the window
// does) and with every page built anew (kept:0, the first visit of an instance).
void BM_SwitchInstances(benchmark::State& state) {
    startToolkit();
    Instance instances[2];
    PageCache cache(static_cast<size_t>(state.range(0)));
    Component* window = mvk::gui::ComponentFactory::instance()->create(
        mvk::util::xml::Element(R"(<dialog width="820" height="600"><list id="200"/></dialog>)"));
    window->show();
    Component* area = window->findById(200);
    // Both pages once before timing, so no timed switch pays for the first text or font of
    // the run, and with a cache every one finds its page kept.
    Component* page = instances[0].tree.top()->buildPage();
    area->addChild(page);
    page->show();
    mvk::gui::Toolkit::processEvents();
    page = showNext(area, cache, page, instances[0], instances[1]);
    int shown = 1;
    for (auto _ : state) {
        page = switchPage(area, cache, page, instances[shown], instances[1 - shown]);
        shown = 1 - shown;
    }
    page->destroy();
    cache.clear();
    window->destroy();
}
BENCHMARK(BM_SwitchInstances)
    ->ArgName("kept")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    const auto cpuTime = [](const benchmark::BenchmarkReporter::Run& run) {
        return run.GetAdjustedCPUTime();
    };
    qvn::bench::Goal kept;
    kept.run = "BM_SwitchInstances/kept:1";
    kept.what = "switching between two 300-element pages";
    kept.unit = "ms CPU";
    kept.figure = cpuTime;
    kept.limit = 35;
    kept.atLeast = false;
    qvn::bench::Goal built = kept;
    built.run = "BM_SwitchInstances/kept:0";
    built.what = "switching to a 300-element page built anew";
    // The window keeps the page shown before; a page it never showed is built as before.
    built.peer = true;
    return qvn::bench::runWithGoals(argc, argv, {kept, built});
}
