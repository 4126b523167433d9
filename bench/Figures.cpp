// SPDX-License-Identifier: MIT
#include "Figures.h"

#include "ProcessFigure.h"

#include <QString>

#include <cstdio>

void CollectingReporter::ReportRuns(const std::vector<Run> &runs)
{
    // With repetitions, the median of them stands for the benchmark;
    // without, its single run.
    for (const Run &run : runs) {
        if (run.error_occurred || run.iterations <= 0)
            continue;
        const double perIteration = run.real_accumulated_time * 1e9 / double(run.iterations);
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
            m_medians[run.run_name.str()] = perIteration;
        else if (run.run_type == Run::RT_Iteration)
            m_times[run.benchmark_name()] = perIteration;
    }
    for (const auto &[name, median] : m_medians)
        m_times[name] = median;
    ConsoleReporter::ReportRuns(runs);
}

namespace {

struct Ratio
{
    std::string what;
    double value;
    double target;
};

double at(const std::map<std::string, double> &times, const std::string &name)
{
    const auto it = times.find(name);
    return it == times.end() ? 0 : it->second;
}

double ratio(double a, double b)
{
    return b > 0 ? a / b : 0;
}

} // namespace

namespace {

// The handlers' ratios, each against its floor.
std::vector<Ratio> handlerRatios(const std::map<std::string, double> &t)
{
    const double floor = at(t, "floor/page_query") + at(t, "floor/eight_widgets");
    std::vector<Ratio> ratios = {
        {"pageMove / (page query + 8 widgets), shipped card", ratio(at(t, "pageMove/shipped"), floor), 1.5},
        {"pageMove, 100,000-colour card / shipped card",
         ratio(at(t, "pageMove/large"), at(t, "pageMove/shipped")), 1.2},
        {"enterCode found, 100,000-colour card / shipped card",
         ratio(at(t, "enterCode_found/large"), at(t, "enterCode_found/shipped")), 1.2},
        {"enterCode not found, 100,000-colour card / shipped card",
         ratio(at(t, "enterCode_missing/large"), at(t, "enterCode_missing/shipped")), 1.2},
        {"pageMove, a page of 10,000 rows / a page of 1,000 rows",
         ratio(at(t, "pageMove/rows_10000"), at(t, "pageMove/rows_1000")), 12},
    };
    for (const char *action : {"collection_step", "addtoBaby_new", "addtoBaby_duplicate", "babyDelete"}) {
        ratios.push_back({std::string(action) + ", 100,000 entries / 10 entries",
                          ratio(at(t, std::string(action) + "/100000"), at(t, std::string(action) + "/10")),
                          2.0});
    }
    for (const char *format : {"gpl", "csv"}) {
        ratios.push_back({std::string("export of 100,000 entries, ") + format + " / (read rows + write bytes)",
                          ratio(at(t, std::string("export/") + format), at(t, std::string("floor/export_") + format)),
                          2.0});
    }
    ratios.push_back({"import of 100,000 colours, csv / (read file + insert rows)",
                      ratio(at(t, "import/csv"), at(t, "floor/import_csv")), 2.0});
    // Per colour: 33 times the colours.
    ratios.push_back({"import per colour, 3,300,000 colours / 100,000",
                      ratio(at(t, "import/csv_3300000"), 33 * at(t, "import/csv")), 2.0});
    return ratios;
}

bool printTable(const std::vector<Ratio> &ratios, bool processesOk)
{
    std::printf("\n%-58s %8s %8s  %s\n", "Ratio", "value", "target", "");
    bool allMet = processesOk;
    for (const Ratio &r : ratios) {
        const bool met = r.value > 0 && r.value <= r.target;
        allMet = allMet && met;
        std::printf("%-58s %8.2f %8s  %s\n", r.what.c_str(), r.value,
                    ("<= " + QString::number(r.target).toStdString()).c_str(), met ? "met" : "NOT MET");
    }
    return allMet;
}

} // namespace

namespace {

std::vector<Ratio> processRatios(const ProcessComparison &processes)
{
    const ProcessFigure &program = processes.first;
    const ProcessFigure &bare = processes.second;
    std::printf("\nWhole process (median): program %.1f ms, %.1f MB; bare window %.1f ms, %.1f MB\n",
                program.medianMilliseconds, program.medianPeakMegabytes, bare.medianMilliseconds,
                bare.medianPeakMegabytes);
    std::printf("(the two process ratios are medians of the ratios of paired runs)\n");
    return {{"process start to first frame / bare window", processes.timeRatio, 1.5},
            {"peak memory / bare window", processes.memoryRatio, 1.3}};
}

} // namespace

bool printRatios(const std::map<std::string, double> &t, const ProcessComparison &processes)
{
    std::vector<Ratio> ratios = handlerRatios(t);
    for (const Ratio &r : processRatios(processes))
        ratios.push_back(r);
    return printTable(ratios, processes.ok);
}

bool printProcessRatios(const ProcessComparison &processes)
{
    return printTable(processRatios(processes), processes.ok);
}

bool printMeasuredRatios(const std::map<std::string, double> &t)
{
    // A ratio counts when both its figures were measured.
    std::vector<Ratio> measured;
    for (const Ratio &r : handlerRatios(t)) {
        if (r.value > 0)
            measured.push_back(r);
    }
    return printTable(measured, true);
}
