#pragma once
// Console reporter that also keeps each benchmark's time per iteration, so a
// bench can print its figures as ratios against a baseline of the same run.
// Processor time is steadier than wall time on a shared machine; wall time is
// kept for the absolute goals.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0) {
                cpu[r.benchmark_name()] = r.GetAdjustedCPUTime();
                real[r.benchmark_name()] = r.GetAdjustedRealTime();
            }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> cpu, real;
};
