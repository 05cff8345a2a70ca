// Timings of the preview as the user drives it: one click on a font file, and holding the Down
// arrow through a folder of a few hundred fonts, each step previewed and the window redrawn.
#include "benchmark.h"
#include "platform/fonttable.h"
#include "initialise.h"
#include "unit1.h"

#include <QDir>
#include <QKeyEvent>
#include <QProcess>

namespace {
const int FontCount = 300;

// A folder of distinct fonts, made once with the test font script and kept for later runs.
QString BenchFontFolder()
{
    const QString folder = QDir::tempPath() + QStringLiteral("/tavoret-bench-fonts");
    if (QDir(folder).entryList({QStringLiteral("*.ttf")}, QDir::Files).size() < FontCount) {
        QProcess::execute(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral(TAVORET_BENCH_FONTS "/make_test_fonts.py"), QStringLiteral("--many"),
                           QString::number(FontCount), folder});
    }
    return folder;
}

void PressDown(QWidget *target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}
} // namespace

TAVORET_BENCHMARK(preview)
{
    const QString folder = BenchFontFolder();
    platform::FontTable fonts;
    initialiseApplication(fonts);
    const QStringList startupFontNames = fonts.ReadInstalledFontNames();
    TForm1 form(fonts, startupFontNames);
    bench::ShowExposed(&form);
    form.Button1Click();
    form.DirectoryListBox1->setDirectory(folder);
    TFileListBox *files = form.FileListBox1;
    report.Fact(QStringLiteral("fonts in the folder"), QString::number(files->count()));
    report.Fact(QStringLiteral("installed families"), QString::number(startupFontNames.size()));

    // One preview of a file that is not installed, alternating between two files, with the redraw.
    int next = 0;
    report.Time(QStringLiteral("one preview (click) + redraw"), [&] {
        files->setCurrentRow(next);
        next = 1 - next;
        form.FileListBox1Click();
        form.repaint();
    });

    // Holding Down: every step is a full preview and a redraw of the window.
    files->setCurrentRow(0);
    files->setFocus();
    QElapsedTimer total;
    std::vector<qint64> steps;
    total.start();
    for (int i = 1; i < files->count(); ++i) {
        QElapsedTimer step;
        step.start();
        PressDown(files);
        form.repaint();
        steps.push_back(step.nsecsElapsed());
    }
    const qint64 median = bench::Median(steps);
    std::sort(steps.begin(), steps.end());
    report.Fact(QStringLiteral("arrow-key run"),
                QStringLiteral("%1 steps in %2 ms; per step median %3 ms, slowest %4 ms")
                    .arg(steps.size())
                    .arg(total.elapsed())
                    .arg(double(median) / 1e6, 0, 'f', 2)
                    .arg(double(steps.empty() ? 0 : steps.back()) / 1e6, 0, 'f', 2));
    report.Fact(QStringLiteral("last file previewed"), QFileInfo(PreviewFontFile).fileName());
    form.close();
}
