// Runs the registered benchmarks (all, or those named on the command line) on the offscreen
// platform and prints their timings.
#include "benchmark.h"

#include "platform/facereader.h"

#include <QApplication>
#include <QTextStream>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace bench {

std::vector<Benchmark> &Registry()
{
    static std::vector<Benchmark> benchmarks;
    return benchmarks;
}

qint64 Median(std::vector<qint64> samples)
{
    if (samples.empty())
        return 0;
    const auto middle = samples.begin() + samples.size() / 2;
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

void ShowExposed(QWidget *window)
{
    window->show();
    QElapsedTimer waited;
    waited.start();
    while (!(window->windowHandle() && window->windowHandle()->isExposed()) && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Report::Time(const QString &name, const std::function<void()> &step)
{
    for (int i = 0; i < m_options.warmup; ++i)
        step();
    std::vector<qint64> samples;
    samples.reserve(size_t(m_options.runs));
    QElapsedTimer timer;
    for (int i = 0; i < m_options.runs; ++i) {
        timer.start();
        step();
        samples.push_back(timer.nsecsElapsed());
    }
    std::sort(samples.begin(), samples.end());
    const auto ms = [](qint64 ns) { return QString::number(double(ns) / 1e6, 'f', 3); };
    const qint64 p90 = samples.empty() ? 0 : samples[samples.size() * 9 / 10];
    const qint64 min = samples.empty() ? 0 : samples.front();
    Fact(name, QStringLiteral("median %1 ms (min %2, 90% %3; %4 runs)")
                   .arg(ms(Median(samples)), ms(min), ms(p90))
                   .arg(samples.size()));
}

void Report::Fact(const QString &name, const QString &value)
{
    std::printf("%-40s %s\n", qPrintable(name + QLatin1Char(':')), qPrintable(value));
    std::fflush(stdout);
}

} // namespace bench

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::FaceReader::setWorkerProgram(QStringLiteral(TAVORET_APP));

    bench::Options options;
    QStringList wanted;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size()) {
            options.runs = std::max(1, args[++i].toInt());
        } else if (args[i] == QLatin1String("--list")) {
            for (const bench::Benchmark &benchmark : bench::Registry())
                std::printf("%s\n", qPrintable(benchmark.name));
            return 0;
        } else if (args[i].startsWith(QLatin1String("-"))) {
            std::fprintf(stderr, "usage: tavoret_bench [--runs N] [--list] [benchmark...]\n");
            return 2;
        } else {
            wanted << args[i];
        }
    }
    int ran = 0;
    for (const bench::Benchmark &benchmark : bench::Registry()) {
        if (!wanted.isEmpty() && !wanted.contains(benchmark.name))
            continue;
        bench::Report report(options);
        benchmark.run(report);
        ++ran;
    }
    if (ran == 0) {
        std::fprintf(stderr, "no benchmark named %s\n", qPrintable(wanted.join(QLatin1Char(' '))));
        return 2;
    }
    return 0;
}
