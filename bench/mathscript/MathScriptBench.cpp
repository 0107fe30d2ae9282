// Evaluations per second of a typical template script with four parameters,
//   (p0 * 2.5 + sin(p1)) / (1 + atan2(p2, p3)) > 0.5,
// with the parameters set anew before each evaluation, as the template logic does on every
// device poll; beside it the same expression in muparser when that is installed, and the cost
// of the two library calls alone.
#include "mathscript/MathScript_Default.h"
#include "util/xml/Element.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#ifdef QVN_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

constexpr const char* typicalScript =
    "<greater><div><add><mul><parameter>0</parameter><constant>2.5</constant></mul>"
    "<sin><parameter>1</parameter></sin></add><add><constant>1</constant>"
    "<atan2><parameter>2</parameter><parameter>3</parameter></atan2></add></div>"
    "<constant>0.5</constant></greater>";

// Parameter sets cycled through, so nothing can be folded away.
using ParameterSet = std::array<double, 4>;
constexpr std::array<ParameterSet, 4> parameterSets = {
    {{0.1, 0.2, 0.3, 0.4}, {-0.4, 1.3, 0.8, -0.2}, {0.7, -0.9, -0.5, 0.6}, {0.25, 0.5, 1.5, 2.0}}};

void BM_MathScript(benchmark::State& state) {
    MathScript_Default::registerFactories();
    MathScript* script = MathScript::instance()->create(mvk::util::xml::Element(typicalScript));
    size_t round = 0;
    for (auto _ : state) {
        const ParameterSet& values = parameterSets[round++ & 3];
        for (int i = 0; i < 4; ++i)
            script->setParameter(i, values[static_cast<size_t>(i)]);
        benchmark::DoNotOptimize(script->evaluate());
    }
    state.SetItemsProcessed(state.iterations());
    script->destroy();
}
BENCHMARK(BM_MathScript);

#ifdef QVN_HAVE_MUPARSER
void BM_MuParser(benchmark::State& state) {
    ParameterSet values{};
    mu::Parser parser;
    parser.DefineVar("p0", &values[0]);
    parser.DefineVar("p1", &values[1]);
    parser.DefineVar("p2", &values[2]);
    parser.DefineVar("p3", &values[3]);
    parser.SetExpr("(p0 * 2.5 + sin(p1)) / (1 + atan2(p2, p3)) > 0.5");
    size_t round = 0;
    for (auto _ : state) {
        values = parameterSets[round++ & 3];
        benchmark::DoNotOptimize(parser.Eval());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MuParser);
#endif

void BM_LibraryCallsOnly(benchmark::State& state) {
    size_t round = 0;
    for (auto _ : state) {
        const ParameterSet& values = parameterSets[round++ & 3];
        benchmark::DoNotOptimize(std::sin(values[1]) + std::atan2(values[2], values[3]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LibraryCallsOnly);

} // namespace

BENCHMARK_MAIN();
