#pragma once
// The goals benchmarks are held to. A goal is checked against the figure of one benchmark run
// and printed as one line, "goal met" or "goal missed" with the figure and the limit; the line is
// also appended to the file $QVN_GOALS names, so `make bench` can repeat every goal at its end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qvn::bench {

struct Goal {
    // Benchmark run whose name starts with this (aggregates: the mean of the repetitions).
    std::string run;
    // What the line calls the figure, and its unit.
    std::string what;
    std::string unit;
    // The figure out of the run.
    std::function<double(const benchmark::BenchmarkReporter::Run&)> figure;
    double limit = 0;
    // True: the figure must reach the limit; false: it must stay below it.
    bool atLeast = true;
    // A peer figure printed beside the goals, measured against the same limit but not a goal.
    bool peer = false;
};

// Prints the line of one goal (a negative or NaN figure: not measured, so missed) and appends it
// to $QVN_GOALS; true when the goal is met.
inline bool printGoal(const std::string& what, double value, const std::string& unit, double limit,
                      bool atLeast, bool peer = false) {
    const bool measured = value == value && value >= 0;
    const bool met = measured && (atLeast ? value >= limit : value < limit);
    const char* verdict = peer ? "peer figure" : met ? "goal met" : "goal missed";
    char line[512];
    std::snprintf(line, sizeof line, "%s: %s %.3g %s (%s: %s %.3g %s)\n", verdict, what.c_str(),
                  measured ? value : 0.0, unit.c_str(), peer ? "beside the goal" : "limit",
                  atLeast ? "at least" : "under", limit, unit.c_str());
    std::fputs(line, stdout);
    if (const char* path = std::getenv("QVN_GOALS"); path != nullptr && *path != '\0')
        if (std::FILE* log = std::fopen(path, "a")) {
            std::fputs(line, log);
            std::fclose(log);
        }
    return met;
}

// Prints the runs as the console does and keeps the figures the goals need.
class GoalReporter : public benchmark::ConsoleReporter {
public:
    explicit GoalReporter(std::vector<Goal> goals)
        : goals(std::move(goals)), found(this->goals.size(), -1.0) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "mean")
                continue;
            for (size_t i = 0; i < goals.size(); ++i)
                if (run.benchmark_name().rfind(goals[i].run, 0) == 0 && !run.error_occurred)
                    found[i] = goals[i].figure(run);
        }
    }

    // Prints one line per goal and peer figure; the number of goals missed (a goal never
    // measured is missed).
    int printGoals() const {
        int missed = 0;
        for (size_t i = 0; i < goals.size(); ++i) {
            const Goal& goal = goals[i];
            const bool met = printGoal(goal.what, found[i], goal.unit, goal.limit, goal.atLeast,
                                       goal.peer);
            missed += goal.peer || met ? 0 : 1;
        }
        return missed;
    }

private:
    std::vector<Goal> goals;
    std::vector<double> found;
};

// The main of a benchmark program with goals.
inline int runWithGoals(int argc, char** argv, std::vector<Goal> goals) {
    benchmark::Initialize(&argc, argv);
    GoalReporter reporter(std::move(goals));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.printGoals();
    return 0;
}

} // namespace qvn::bench
