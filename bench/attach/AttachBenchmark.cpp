// The attach + detach round trip of the staged core library with only its built-in parts:
// what a host pays to bring the core up and down.
#include "CoreModule.h"
#include "RefHost.h"
#include "support/TestEnvironment.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void AttachDetach(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    qvn::test::TestEnvironment environment(qvn::test::TestEnvironment::stageRoot());
    environment.userDataPath();
    qvn::host::CoreModule module;
    if (!module.load(qvn::test::TestEnvironment::stageRoot() +
                     "/quorvane/lib/libquorvane-core.so")) {
        state.SkipWithError(module.error().c_str());
        return;
    }
    qvn::host::RefHost host;
    for (auto _ : state) {
        mvk::qvn::CoreInterface* core = module.attach(&host);
        benchmark::DoNotOptimize(core);
        module.detach(core);
    }
}
BENCHMARK(AttachDetach)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
