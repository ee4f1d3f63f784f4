// A console reporter that also keeps each benchmark's time, so that a program
// can print the ratio of two runs made in the same process.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class TRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& Runs) override
    {
        ConsoleReporter::ReportRuns(Runs);
        for (const Run& R : Runs)
            Times[R.run_name.function_name] = R.GetAdjustedRealTime();
    }

    // "Label: 1.23 (target: within N)" when both runs were made.
    void PrintRatio(const char* Label, const std::string& Ours, const std::string& Base, double Target)
    {
        const double A = Times[Ours];
        const double B = Times[Base];
        if (A > 0 && B > 0)
            std::printf("%s: %.2f (target: within %g)\n", Label, A / B, Target);
    }

    std::map<std::string, double> Times;
};
