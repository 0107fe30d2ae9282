// Building a window of about 200 components offscreen (nested groups of rows with labels,
// spinners, combo boxes, buttons, check boxes and text boxes) and writing it back.
#include "gui/Component.h"
#include "gui/Toolkit.h"
#include "util/xml/Element.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <sstream>
#include <string>

namespace {

using mvk::gui::Component;
using mvk::util::xml::Element;

std::string row(int group, int index) {
    const std::string id = std::to_string(group * 100 + index * 10);
    return R"(<list type="horizontal" height="28" padding="0 2 0 2">)"
           R"(<label label="Parameter )" +
           id +
           R"(" width="120" height="24"/>)"
           R"(<spinner id=")" +
           id +
           R"(" width="90" height="24" min="-10" max="10"/>)"
           R"(<combobox width="110" height="24"><item>Linear</item><item>Smooth</item>)"
           R"(<item>Step</item></combobox>)"
           R"(<button label="Reset" width="70" height="24"/>)"
           R"(<checkbox label="Lock" width="60" height="24"/></list>)";
}

Element window() {
    std::string text = R"(<dialog label="Bench" width="640" height="900" padding="8 8 8 8">)";
    for (int group = 0; group < 10; ++group) {
        text += R"(<group label="Group )" + std::to_string(group) + R"(" padding="6 6 6 6">)";
        for (int index = 0; index < 3; ++index)
            text += row(group, index);
        text += R"(<textbox defaulttext="notes" height="24"/></group>)";
    }
    return Element(text + "</dialog>");
}

int countComponents(Component* component) {
    int count = 1;
    for (int i = 0; i < component->childCount(); ++i)
        count += countComponents(component->child(i));
    return count;
}

void startToolkit() {
    static const bool started = [] {
        mvk::gui::Toolkit::registerFactories();
        mvk::gui::Toolkit::start();
        return true;
    }();
    (void)started;
}

void BM_BuildWindow(benchmark::State& state) {
    startToolkit();
    const Element layout = window();
    int components = 0;
    // The dialog factory announces every window on standard output; keep the report readable.
    std::ostringstream announcements;
    std::streambuf* console = std::cout.rdbuf(announcements.rdbuf());
    for (auto _ : state) {
        Component* root = mvk::gui::ComponentFactory::instance()->create(layout);
        components = countComponents(root);
        state.PauseTiming();
        root->destroy();
        mvk::gui::Toolkit::processEvents();
        announcements.str({});
        state.ResumeTiming();
    }
    std::cout.rdbuf(console);
    state.counters["components"] = components;
}
BENCHMARK(BM_BuildWindow)->Unit(benchmark::kMillisecond);

void BM_WriteWindow(benchmark::State& state) {
    startToolkit();
    std::ostringstream announcement;
    std::streambuf* console = std::cout.rdbuf(announcement.rdbuf());
    Component* root = mvk::gui::ComponentFactory::instance()->create(window());
    std::cout.rdbuf(console);
    for (auto _ : state) {
        Element written = root->writeXml();
        benchmark::DoNotOptimize(written);
    }
    root->destroy();
}
BENCHMARK(BM_WriteWindow)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
