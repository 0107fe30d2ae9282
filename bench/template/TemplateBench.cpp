// One device poll with 100 template instances of 8 virtual controls each: every control's
// script gets its parameters from two properties and two spinners and is evaluated. Two kinds
// of script: a small mix of two inputs (p0 * 2 + p1, 2 nodes) and the round stick dead zone of
// the crane example (22 nodes, one power), the heaviest of the shipped expressions.
#include "RefHost.h"
#include "core/CoreImplementation.h"
#include "core/Startup.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "support/TestEnvironment.h"
#include "unidevice/DeviceHandler.h"
#include "util/xml/Element.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

std::string p(int index) {
    return "<parameter>" + std::to_string(index) + "</parameter>";
}

// x * k(x, y, d) * range, k the round dead zone scale of the crane example:
// (1 - d / r) / (1 - d) outside the dead zone, 0 inside.
std::string deadZoneScript() {
    const std::string r2 =
        "<add><mul>" + p(0) + p(0) + "</mul><mul>" + p(1) + p(1) + "</mul></add>";
    const std::string dd = "<mul>" + p(2) + p(2) + "</mul>";
    const std::string r = "<pow>" + r2 + "<constant>0.5</constant></pow>";
    const std::string k = "<div><mul><greater>" + r2 + dd +
                          "</greater><sub><constant>1</constant>"
                          "<div>" +
                          p(2) + "<add>" + r + "<less_equal>" + r2 + dd +
                          "</less_equal></add></div></sub></mul><sub><constant>1</constant>" +
                          p(2) + "</sub></div>";
    return "<mul><mul>" + p(0) + k + "</mul>" + p(3) + "</mul>";
}

std::string mixScript() {
    return "<add><mul>" + p(0) + "<constant>2</constant></mul>" + p(1) + "</add>";
}

std::string benchTemplate(const std::string& script) {
    std::string controls;
    for (int i = 0; i < 8; ++i)
        controls += "<control><name>C" + std::to_string(i) + "</name><index>" + std::to_string(i) +
                    "</index><infinite/><script>" + script +
                    "</script><parameters><property>X</property><property>Y</property>"
                    "<spinner>0</spinner><spinner>1</spinner></parameters></control>";
    return "<QVT_Plugin version=\"2.5\"><type>template</type><name>Bench</name><customdata>"
           "<input><property><name>X</name><finite/></property>"
           "<property><name>Y</name><finite/></property></input>"
           "<virtualdevice>" +
           controls +
           "</virtualdevice>"
           "<config><item label=\"Dead zone\">0.15</item><item label=\"Range\">90</item></config>"
           "</customdata></QVT_Plugin>";
}

void PollTemplateInstances(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    qvn::test::TestEnvironment environment;
    environment.userDataPath();
    qvn::host::RefHost host;
    auto* core =
        static_cast<mvk::qvn::core::CoreImplementation*>(mvk::qvn::core::attachCore(&host));
    if (core == nullptr) {
        state.SkipWithError("attach failed");
        return;
    }
    const mvk::util::xml::Element tag(
        benchTemplate(state.range(0) == 0 ? mixScript() : deadZoneScript()));
    int controls = 0;
    for (int i = 0; i < 100; ++i) {
        mvk::qvn::core::InstanceReference* reference = core->createFromScene(tag, nullptr);
        if (reference != nullptr)
            controls += reference->getInstance()->controlCount();
    }
    if (controls != 800) {
        state.SkipWithError("the template instances were not made");
        mvk::qvn::core::detachCore(core);
        return;
    }
    auto* devices = mvk::unidevice::DeviceHandler::instance();
    for (auto _ : state)
        devices->updateAll();
    state.counters["controls"] = controls;
    mvk::qvn::core::detachCore(core);
}
BENCHMARK(PollTemplateInstances)
    ->ArgName("deadzone")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
