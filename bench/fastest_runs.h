#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <unistd.h>

// The console report, keeping the fastest time per iteration of each
// benchmark for the ratios a program prints at the end: other work on the
// machine only ever adds time.
class FastestRuns : public benchmark::ConsoleReporter
{
public:
    // Colours only on a terminal, so that the output can be read by scripts.
    FastestRuns() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration)
                continue;
            const std::string name =
                run.run_name.function_name + (run.run_name.args.empty() ? "" : '/' + run.run_name.args);
            const double time = run.real_accumulated_time / double(run.iterations);
            const auto [known, added] = seconds_.emplace(name, time);
            if (!added)
                known->second = std::min(known->second, time);
            for (const auto &[counterName, counter] : run.counters) {
                const auto [kept, first] = lowest_.emplace(name + ':' + counterName, counter.value);
                if (!first)
                    kept->second = std::min(kept->second, counter.value);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Seconds of the fastest run of "BM_Name" or "BM_Name/arg", 0 when it never finished.
    double seconds(const std::string &name) const
    {
        const auto found = seconds_.find(name);
        return found == seconds_.end() ? 0.0 : found->second;
    }

    // The lowest value a counter took in the runs of "BM_Name/arg", 0 when none.
    double lowest(const std::string &name, const std::string &counter) const
    {
        const auto found = lowest_.find(name + ':' + counter);
        return found == lowest_.end() ? 0.0 : found->second;
    }

private:
    std::map<std::string, double> seconds_;
    std::map<std::string, double> lowest_;
};
