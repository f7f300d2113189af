#include "ratios.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace {

std::vector<Ratio>& Registered() {
    static std::vector<Ratio> ratios;
    return ratios;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

bool AddRatio(const Ratio& ratio) {
    Registered().push_back(ratio);
    return true;
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) {
            failed_ = true;
            continue;
        }
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if ((run.run_type != Run::RT_Iteration && !median) || run.iterations == 0)
            continue;
        auto [entry, added] = figures_.try_emplace(run.run_name.function_name);
        Figures& figures = entry->second;
        if (added)
            figures.order = figures_.size();
        Series& series = median ? figures.medians : figures.runs;
        // Per iteration in seconds (the two sides may be shown in different units): the time taken
        // by hand where the benchmark takes it, the CPU time otherwise. A median aggregate holds
        // the median of the repetitions' accumulated times, which all ran the same iterations.
        const bool timedByHand = run.run_name.time_type == "manual_time";
        series.seconds.push_back(
            (timedByHand ? run.real_accumulated_time : run.cpu_accumulated_time) / run.iterations);
        for (const auto& [name, counter] : run.counters)
            series.counters[name].push_back(counter.value);
    }
}

const std::vector<double>* RatioReporter::Values(const char* benchmark, const char* counter) const {
    auto found = figures_.find(benchmark);
    if (found == figures_.end())
        return nullptr;
    const Figures& figures = found->second;
    const Series& series = figures.runs.seconds.empty() ? figures.medians : figures.runs;
    if (!counter)
        return series.seconds.empty() ? nullptr : &series.seconds;
    auto named = series.counters.find(counter);
    return named == series.counters.end() ? nullptr : &named->second;
}

void RatioReporter::PrintRatios(std::ostream& out) const {
    std::vector<const Ratio*> shown; // those with a side that ran, in the order the sides ran
    for (const Ratio& ratio : Registered())
        if (figures_.count(ratio.measured) || figures_.count(ratio.baseline))
            shown.push_back(&ratio);
    auto order = [this](const Ratio* ratio) {
        auto found = figures_.find(ratio->measured);
        return found != figures_.end() ? found->second.order : figures_.at(ratio->baseline).order;
    };
    std::stable_sort(shown.begin(), shown.end(),
                     [&order](const Ratio* a, const Ratio* b) { return order(a) < order(b); });
    if (shown.empty())
        return;
    out << "\nRatios, measured / baseline: medians over the repetitions of the time per iteration\n"
           "(CPU time, or the time taken by hand where a benchmark says manual_time) or a "
           "counter.\n";
    for (const Ratio* ratio : shown) {
        const std::vector<double>* measured = Values(ratio->measured, ratio->counter);
        const std::vector<double>* baseline = Values(
            ratio->baseline, ratio->baselineCounter ? ratio->baselineCounter : ratio->counter);
        char line[256];
        if (!measured || !baseline)
            std::snprintf(line, sizeof line, "  %-66s = (a side did not run)\n", ratio->label);
        else
            std::snprintf(line, sizeof line, "  %-66s = %8.2f\n", ratio->label,
                          Median(*measured) / Median(*baseline));
        out << line;
    }
}
