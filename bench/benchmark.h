// A small benchmark registry: each benchmark is a named function that runs against the real
// system and reports timings and facts through a Report.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

class QWidget;

#include <functional>
#include <vector>

namespace bench {

struct Options
{
    int runs = 200;  // timed runs per measurement
    int warmup = 10; // untimed runs before them
};

class Report
{
public:
    explicit Report(const Options &options) : m_options(options) {}
    const Options &options() const { return m_options; }

    // Runs `step` warmup + runs times and prints the median, minimum and 90th percentile of the
    // timed runs, in milliseconds, under `name`.
    void Time(const QString &name, const std::function<void()> &step);
    // Prints one line "name: value".
    void Fact(const QString &name, const QString &value);

private:
    Options m_options;
};

// Median of the samples (in nanoseconds); 0 for none.
qint64 Median(std::vector<qint64> samples);

// Shows a top-level widget and waits (at most two seconds) until its window can be painted,
// so that repaint() really draws.
void ShowExposed(QWidget *window);

struct Benchmark
{
    QString name;
    std::function<void(Report &)> run;
};

std::vector<Benchmark> &Registry();

struct Registration
{
    Registration(const QString &name, std::function<void(Report &)> run)
    {
        Registry().push_back({name, std::move(run)});
    }
};

} // namespace bench

// TAVORET_BENCHMARK(fonttable) { report.Time(...); } registers a benchmark named "fonttable".
#define TAVORET_BENCHMARK(id)                                                                   \
    static void bench_##id(bench::Report &report);                                             \
    static const bench::Registration registration_##id(QStringLiteral(#id), &bench_##id);        \
    static void bench_##id(bench::Report &report)
