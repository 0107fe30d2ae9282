// Preference pages of a tool with 300 configuration elements: building one page, and switching
// a shown page area between the pages of two such instances the way the configuration window
// does (the old page destroyed, the new one built, appended and shown, events processed).
#include "GoalReport.h"
#include "core/configadaptor/CheckBox.h"
#include "core/configadaptor/ComboBox.h"
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

void BM_SwitchInstances(benchmark::State& state) {
    startToolkit();
    Instance first;
    Instance second;
    Component* window = mvk::gui::ComponentFactory::instance()->create(
        mvk::util::xml::Element(R"(<dialog width="820" height="600"><list id="200"/></dialog>)"));
    window->show();
    Component* area = window->findById(200);
    Component* page = nullptr;
    bool showFirst = true;
    for (auto _ : state) {
        if (page != nullptr) {
            page->hide();
            page->destroy();
        }
        page = (showFirst ? first : second).tree.top()->buildPage();
        area->addChild(page);
        page->show();
        mvk::gui::Toolkit::processEvents();
        showFirst = !showFirst;
    }
    window->destroy();
}
BENCHMARK(BM_SwitchInstances)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    qvn::bench::Goal pageSwitch;
    pageSwitch.run = "BM_SwitchInstances";
    pageSwitch.what = "switching between two 300-element pages";
    pageSwitch.unit = "ms CPU";
    pageSwitch.figure = [](const benchmark::BenchmarkReporter::Run& run) {
        return run.GetAdjustedCPUTime();
    };
    pageSwitch.limit = 35;
    pageSwitch.atLeast = false;
    return qvn::bench::runWithGoals(argc, argv, {pageSwitch});
}
