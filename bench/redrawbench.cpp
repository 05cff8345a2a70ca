// Timings of the chart's redraw against a bare Qt table drawing the same characters in the same
// face and cell size, and how long the window is kept busy by each keystroke typed into the size
// boxes (the chart redraws at every one).
#include "benchmark.h"
#include "platform/fonttable.h"
#include "initialise.h"
#include "unit1.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>

namespace {
const int CellSize = 37;

// A plain QTableWidget with the chart's 16 x 14 characters, cells and font.
class BareTable
{
public:
    BareTable(const TStringGrid &chart, const QFont &font)
        : m_table(chart.RowCount(), chart.ColCount())
    {
        for (int row = 0; row < chart.RowCount(); ++row) {
            for (int col = 0; col < chart.ColCount(); ++col)
                m_table.setItem(row, col, new QTableWidgetItem(chart.Cells(col, row)));
        }
        for (QHeaderView *header : {m_table.horizontalHeader(), m_table.verticalHeader()}) {
            header->setMinimumSectionSize(1);
            header->setDefaultSectionSize(CellSize + 1); // the grid line lies inside a section
            header->hide();
        }
        m_table.setFont(font);
        m_table.resize(chart.size());
        bench::ShowExposed(&m_table);
    }
    QWidget *viewport() { return m_table.viewport(); }

private:
    QTableWidget m_table;
};

double Ms(qint64 ns)
{
    return double(ns) / 1e6;
}

// Median time of `runs` full redraws of `widget`.
double RedrawMs(QWidget *widget, int runs)
{
    std::vector<qint64> samples;
    for (int i = 0; i < runs + 2; ++i) {
        QElapsedTimer timer;
        timer.start();
        widget->repaint();
        if (i >= 2) // the first redraws fill the glyph caches
            samples.push_back(timer.nsecsElapsed());
    }
    return Ms(bench::Median(samples));
}

void SendKey(QWidget *target, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// Replaces a size box's text by typing `digits`, one keystroke at a time, each followed by the
// window's redraw; returns the slowest keystroke in milliseconds.
double TypeInto(TForm1 &form, TSpinEdit *box, const QString &digits)
{
    QLineEdit *editor = box->editor();
    editor->setFocus();
    editor->selectAll();
    qint64 slowest = 0;
    for (const QChar digit : digits) {
        QElapsedTimer timer;
        timer.start();
        SendKey(editor, Qt::Key_0 + digit.digitValue(), QString(digit));
        form.repaint();
        slowest = std::max(slowest, timer.nsecsElapsed());
    }
    return Ms(slowest);
}
} // namespace

TAVORET_BENCHMARK(redraw)
{
    platform::FontTable fonts;
    initialiseApplication(fonts);
    TForm1 form(fonts, fonts.ReadInstalledFontNames());
    bench::ShowExposed(&form);
    TStringGrid *chart = form.StringGrid1;
    const int runs = std::clamp(report.options().runs / 4, 5, 50);
    report.Fact(QStringLiteral("chart face"), chart->FontName() + QStringLiteral(" drawn as ") + chart->drawnFamily());

    for (const int points : {20, 200, 1000}) {
        form.SpinEdit1->setText(QString::number(points));
        QFont font(chart->drawnFamily());
        font.setPixelSize(chart->drawPixelSize());
        BareTable bare(*chart, font);
        const double table = RedrawMs(bare.viewport(), runs);
        const double ours = RedrawMs(chart->viewport(), runs);
        report.Fact(QStringLiteral("redraw at %1 pt").arg(points),
                    QStringLiteral("chart %1 ms, bare table %2 ms, ratio %3")
                        .arg(ours, 0, 'f', 2)
                        .arg(table, 0, 'f', 2)
                        .arg(table > 0 ? ours / table : 0, 0, 'f', 2));
    }

    // Each keystroke changes the chart at once; the slowest one is how long the window does not
    // answer.
    struct Typing
    {
        const char *what;
        int fontSize, cellSize;
        bool intoFontBox;
        const char *digits;
    };
    const Typing typings[] = {
        {"font size 1000 typed, 37 px cells", 20, 37, true, "1000"},
        {"cell size 5000 typed, 20 pt", 20, 37, false, "5000"},
        {"font size 1000 typed, 1000 px cells", 20, 1000, true, "1000"},
        {"cell size 1 typed, 1000 pt", 1000, 37, false, "1"},
        {"font size 99999 typed", 20, 37, true, "99999"},
    };
    for (const Typing &typing : typings) {
        form.SpinEdit1->setText(QString::number(typing.fontSize));
        form.SpinEdit2->setText(QString::number(typing.cellSize));
        form.repaint();
        const double slowest = TypeInto(form, typing.intoFontBox ? form.SpinEdit1 : form.SpinEdit2,
                                        QLatin1String(typing.digits));
        report.Fact(QLatin1String(typing.what), QStringLiteral("slowest keystroke %1 ms").arg(slowest, 0, 'f', 1));
    }
    form.close();
}
