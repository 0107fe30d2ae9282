// Costs of the recorded curves at the sizes a long take reaches: a key appended at the start of
// a take and after an hour at 60 Hz (216,000 keys) should cost the same; a key set back in time
// and the value at a time (a replay) grow only with the logarithm of the key count.
#include "util/AVar.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using Curve = mvk::util::AVar_Linear<double>;

constexpr double Interval = 1.0 / 60;

Curve curveWith(int64_t keys) {
    Curve curve;
    for (int64_t i = 0; i < keys; ++i)
        curve.setKey(static_cast<double>(i) * Interval, static_cast<double>(i % 100) * 0.01);
    return curve;
}

// One sample of a running take: a key after the last one. The curve grows by the batch and is
// rebuilt outside the timing when the batch is done.
void appendAfter(benchmark::State& state) {
    const int64_t existing = state.range(0);
    constexpr int64_t Batch = 4096;
    Curve curve = curveWith(existing);
    int64_t next = existing;
    for (auto _ : state) {
        curve.setKey(static_cast<double>(next) * Interval, 0.5);
        if (++next == existing + Batch) {
            state.PauseTiming();
            curve = curveWith(existing);
            next = existing;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(appendAfter)->Arg(0)->Arg(216000);

// A key set again at a time in the middle of the curve (found by binary search, overwritten).
void overwriteInside(benchmark::State& state) {
    Curve curve = curveWith(state.range(0));
    int64_t at = 0;
    for (auto _ : state) {
        curve.setKey(static_cast<double>(at) * Interval, 0.25);
        at = (at + 7919) % state.range(0);
    }
}
BENCHMARK(overwriteInside)->Arg(1000)->Arg(216000);

// The value at a time between keys, as a replay asks for it.
void valueBetween(benchmark::State& state) {
    const Curve curve = curveWith(state.range(0));
    int64_t at = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(curve.valueAt((static_cast<double>(at) + 0.5) * Interval));
        at = (at + 7919) % (state.range(0) - 1);
    }
}
BENCHMARK(valueBetween)->Arg(1000)->Arg(216000);

} // namespace

BENCHMARK_MAIN();
