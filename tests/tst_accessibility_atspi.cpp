// The main window as a screen reader and a keyboard user meet it, on a private accessibility
// bus (the test runs under dbus-run-session with the bus launcher, see CMakeLists.txt): names, roles and values of
// the controls, the chart as a table of named cells, the announcements, the keys that pick,
// open the menu, copy and open the About box, and readable colours under the default and a
// dark theme.
#include "chartcells.h"
#include "fonttable.h"
#include "testsupport.h"
#include "unit1.h"
#include "unit2.h"

#include <QAccessible>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QToolButton>
#include <QtTest>

namespace {
struct Announcement
{
    QObject *object;
    QAccessible::Event type;
    int child;
};
QList<Announcement> g_events; // what the last steps announced

void Collect(QAccessibleEvent *event)
{
    g_events.append({event->object(), event->type(), event->child()});
}

bool Announced(QObject *object, QAccessible::Event type, int child = -1)
{
    return std::any_of(g_events.cbegin(), g_events.cend(), [&](const Announcement &event) {
        return event.object == object && event.type == type && (child < 0 || event.child == child);
    });
}

// WCAG's contrast ratio of two colours.
double Contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
// The contrast of the text drawn in the left half of a box (clear of its frame and arrow): the
// colour that stands out most against the most common one, the background.
double DrawnContrast(QWidget *box)
{
    const QImage image = box->grab(QRect(4, 4, box->width() / 2 - 4, box->height() - 8)).toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    }
    const QColor background(std::max_element(counts.cbegin(), counts.cend()).key());
    double most = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        most = std::max(most, Contrast(QColor(it.key()), background));
    return most;
}
} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT
    testsupport::MainWindow m_form;

    QWidget *Control(const QString &path) const
    {
        QWidget *widget = m_form.get();
        for (const QString &name : path.split(QLatin1Char('/')))
            widget = widget ? widget->findChild<QWidget *>(name) : nullptr;
        return widget;
    }
    void Keys(const QString &keys)
    {
        static const QMap<QString, QPair<Qt::Key, Qt::KeyboardModifiers>> named{
            {"Right", {Qt::Key_Right, {}}}, {"Down", {Qt::Key_Down, {}}}, {"Enter", {Qt::Key_Return, {}}},
            {"Space", {Qt::Key_Space, {}}}, {"Menu", {Qt::Key_Menu, {}}},
            {"Shift+F10", {Qt::Key_F10, Qt::ShiftModifier}}, {"Ctrl+C", {Qt::Key_C, Qt::ControlModifier}}};
        for (const QString &key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            QVERIFY2(named.contains(key), qPrintable(key));
            QTest::keyClick(QApplication::focusWidget(), named[key].first, named[key].second);
        }
    }

private slots:
    void initTestCase()
    {
        // Qt's bridge to the accessibility bus switches accessibility on once it has found it.
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), testsupport::Patience);
        QAccessible::installUpdateHandler(Collect);
    }
    void init()
    {
        g_events.clear();
        m_form = testsupport::OpenMainWindow();
        QVERIFY(m_form);
        m_form->Button1Click();
    }
    void cleanup() { m_form.reset(); }

    void namesRolesValues_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role"); // -1: any
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value"); // "-": none asked
        const int any = -1;
        QTest::newRow("font") << "ComboBox1" << int(QAccessible::ComboBox) << "Font" << "-";
        QTest::newRow("font size") << "SpinEdit1" << int(QAccessible::SpinBox) << "Font size" << "20";
        QTest::newRow("its text field") << "SpinEdit1/editor" << any << "Font size" << "-";
        QTest::newRow("its up arrow") << "SpinEdit1/up" << int(QAccessible::Button) << "Increase Font size" << "-";
        QTest::newRow("its down arrow") << "SpinEdit1/down" << int(QAccessible::Button) << "Decrease Font size" << "-";
        QTest::newRow("cell size") << "SpinEdit2" << int(QAccessible::SpinBox) << "Cell size" << "37";
        QTest::newRow("chart") << "StringGrid1" << int(QAccessible::Table) << "Character chart" << "-";
        QTest::newRow("picked character") << "RichEdit1" << any << "Picked character" << "-";
        QTest::newRow("drive") << "DriveComboBox1" << any << "Drive" << "-";
        QTest::newRow("folders") << "DirectoryListBox1" << any << "Folders" << "-";
        QTest::newRow("font files") << "FileListBox1" << any << "Font files" << "-";
        QTest::newRow("logo") << "Label1" << any << "About Tavoret" << "-";
        QTest::newRow("add") << "btnAdd" << int(QAccessible::Button) << "Add" << "-";
    }
    void namesRolesValues()
    {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, value);
        QWidget *widget = Control(control);
        QVERIFY2(widget, qPrintable(control));
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        QTEST(accessible->text(QAccessible::Name), "name");
        if (role >= 0)
            QCOMPARE(int(accessible->role()), role);
        if (value != QLatin1String("-")) {
            QCOMPARE(accessible->text(QAccessible::Value), value);
            QAccessibleValueInterface *range = accessible->valueInterface();
            QVERIFY(range);
            QCOMPARE(range->currentValue().toString(), value);
            QVERIFY(range->minimumValue().toInt() >= 1 && range->maximumValue().toInt() == 1000);
        }
    }

    // The hints are the descriptions, also while a hint is switched off.
    void hintsDescribe()
    {
        TForm1::SetShowHint(m_form->DirectoryListBox1, false);
        for (QWidget *control : QList<QWidget *>{m_form->SpinEdit1, m_form->DirectoryListBox1, m_form->btnDel})
            QVERIFY(!QAccessible::queryAccessibleInterface(control)->text(QAccessible::Description).isEmpty());
        QCOMPARE(QAccessible::queryAccessibleInterface(m_form->DirectoryListBox1)->text(QAccessible::Description),
                 QStringLiteral("Right-Click to enlarge"));
    }

    void chartIsATable_data()
    {
        QTest::addColumn<QString>("file"); // a test font previewed first
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("name");
        QTest::newRow("A") << "" << 2 << 1 << "A, 65, hex 41";
        QTest::newRow("space") << "" << 0 << 0 << "space, 32, hex 20";
        QTest::newRow("last") << "" << 13 << 15 << QStringLiteral("\u00FF, 255, hex FF");
        QTest::newRow("unassigned") << "" << 6 << 1 << "unassigned, 129, hex 81";
        QTest::newRow("symbol font") << "files/TavoretSymbol.ttf" << 2 << 1 << "symbol, 65, hex 41";
    }
    void chartIsATable()
    {
        QFETCH(QString, file);
        QFETCH(int, row);
        QFETCH(int, column);
        if (!file.isEmpty())
            m_form->FileDrag1->readNames({testsupport::fontPath(file)});
        QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(m_form->StringGrid1);
        QAccessibleTableInterface *table = chart->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 14);
        QCOMPARE(table->columnCount(), 16);
        QCOMPARE(chart->childCount(), 224);
        QAccessibleInterface *cell = table->cellAt(row, column);
        QVERIFY(cell);
        QCOMPARE(cell->role(), QAccessible::Cell);
        QTEST(cell->text(QAccessible::Name), "name");
        QCOMPARE(chart->indexOfChild(cell), row * 16 + column);
        QCOMPARE(table->cellAt(row, column), cell); // the same cell every time
        QVERIFY(m_form->StringGrid1->viewport()->rect().contains(
            m_form->StringGrid1->viewport()->mapFromGlobal(cell->rect().center())));
    }

    // Moving the current cell announces it; it is the table's focused, selected cell.
    void currentCellIsAnnounced()
    {
        m_form->StringGrid1->setFocus(Qt::TabFocusReason);
        g_events.clear();
        QTest::keyClick(m_form->StringGrid1, Qt::Key_Right);
        QVERIFY(Announced(m_form->StringGrid1, QAccessible::Focus, 1));
        QVERIFY(Announced(m_form->StringGrid1, QAccessible::Selection, 1));
        QAccessibleInterface *focused = QAccessible::queryAccessibleInterface(m_form->StringGrid1)->focusChild();
        QVERIFY(focused);
        QCOMPARE(focused->text(QAccessible::Name), QStringLiteral("!, 33, hex 21"));
        QVERIFY(focused->state().focused && focused->state().selected);
    }

    // The verdict shown in the selector reaches the screen reader.
    void verdictIsAnnounced()
    {
        const QString folder = testsupport::homeDir() + QStringLiteral("/verdict");
        QVERIFY(testsupport::MakeFolder(folder, {{"random.ttf", "broken/random.ttf"}}));
        m_form->FileListBox1->setFileName(folder + QStringLiteral("/random.ttf"));
        g_events.clear();
        m_form->FileListBox1Click();
        QAccessibleInterface *selector = QAccessible::queryAccessibleInterface(m_form->ComboBox1);
        QCOMPARE(selector->text(QAccessible::Description), QStringLiteral("not a valid Font-File"));
        QVERIFY(Announced(m_form->ComboBox1, QAccessible::DescriptionChanged));
        m_form->ComboBox1->setItemIndex(0); // a face is selected: no verdict any more
        QCOMPARE(selector->text(QAccessible::Description), QString());
    }

    // The keyboard alone picks, opens the menu and copies, starting with the chart's current
    // cell at code 32; the arrow keys alone pick nothing.
    void keyboard_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("captions");
        QTest::addColumn<QString>("clipboard"); // "-": not asked
        QTest::addColumn<bool>("menu");
        QTest::newRow("arrows pick nothing") << "Right Down" << "" << "dec hex" << "-" << false;
        QTest::newRow("Enter picks the current cell") << "Right Right Down Enter" << "2" << "Dec: 0050 Hex: 32" << "-"
                                                      << false;
        QTest::newRow("Space too") << "Down Down Right Space" << "A" << "Dec: 0065 Hex: 41" << "-" << false;
        QTest::newRow("menu key") << "Down Menu" << "0" << "Dec: 0048 Hex: 30" << "-" << true;
        QTest::newRow("Shift+F10") << "Right Shift+F10" << "!" << "Dec: 0033 Hex: 21" << "-" << true;
        QTest::newRow("Ctrl+C copies the current cell") << "Down Down Right Ctrl+C" << "A" << "Dec: 0065 Hex: 41"
                                                        << "A" << false;
    }
    void keyboard()
    {
        QFETCH(QString, keys);
        QFETCH(QString, clipboard);
        QFETCH(bool, menu);
        QApplication::clipboard()->clear();
        m_form->StringGrid1->setFocus(Qt::TabFocusReason);
        Keys(keys);
        QTEST(m_form->RichEdit1->Text(), "picked");
        QTEST(m_form->mnuitdec1->text() + QLatin1Char(' ') + m_form->mnuithex1->text(), "captions");
        if (clipboard != QLatin1String("-"))
            QCOMPARE(QApplication::clipboard()->text(), clipboard);
        QCOMPARE(m_form->PopupMenu1->isVisible(), menu);
        if (menu) { // placed at the current cell
            const TStringGrid *grid = m_form->StringGrid1;
            const QRect cell = grid->cellRect(grid->Col(), grid->Row());
            QCOMPARE(m_form->PopupMenu1->pos(), grid->viewport()->mapToGlobal(cell.center()));
            m_form->PopupMenu1->close();
        }
    }

    void f1OpensTheAboutBox()
    {
        bool opened = false;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            if (AboutBox) {
                opened = true;
                StopAnimation = 1;
            }
        });
        watcher.start(5);
        QTimer::singleShot(testsupport::Patience, [] { StopAnimation = 1; });
        QTest::keyClick(m_form.get(), Qt::Key_F1); // returns once the box has closed
        QVERIFY(opened);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A separate screen-reader client on the bus reads the real program: the selector's verdict
    // after a broken file is previewed, and the chart's cell names.
    void aScreenReaderReadsTheProgram()
    {
        const QString folder = testsupport::homeDir() + QStringLiteral("/reader");
        QVERIFY(testsupport::MakeFolder(folder, {{"random.ttf", "broken/random.ttf"}}));
        QProcess program;
        program.start(QStringLiteral(TAVORET_APP), {folder + QStringLiteral("/random.ttf")});
        QVERIFY(program.waitForStarted());
        QProcess reader;
        reader.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(TAVORET_TESTS "/atspi/read_window.py")});
        // Waiting with the event loop running: this test program is on the bus too and answers.
        QTRY_VERIFY_WITH_TIMEOUT(reader.state() == QProcess::NotRunning, testsupport::Patience);
        const QStringList heard = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
        QCOMPARE(heard, (QStringList{"Font", "not a valid Font-File", "Character chart", "space, 32, hex 20",
                                     "A, 65, hex 41", QStringLiteral("\u00FF, 255, hex FF")}));
        program.terminate();
        QVERIFY(program.waitForFinished(testsupport::Patience));
    }

    // Under the default and a dark theme the colours the form fixes keep readable partners, and
    // the verdict in the selector is drawn as readable as any text of the box.
    void readableColours_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("default theme") << false;
        QTest::newRow("dark theme") << true;
    }
    void readableColours()
    {
        QFETCH(bool, dark);
        const QPalette light = QApplication::palette();
        QPalette darkPalette;
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
            darkPalette.setColor(role, QColor(0x30, 0x30, 0x30));
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            darkPalette.setColor(role, QColor(0xF0, 0xF0, 0xF0));
        if (dark)
            QApplication::setPalette(darkPalette);
        const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
        m_form = testsupport::OpenMainWindow({});
        QVERIFY(m_form);
        for (QWidget *list : QList<QWidget *>{m_form->DriveComboBox1, m_form->DirectoryListBox1, m_form->FileListBox1}) {
            const QPalette pal = list->palette();
            QVERIFY2(Contrast(pal.color(QPalette::Text), pal.color(QPalette::Base)) >= 4.5, qPrintable(list->objectName()));
            QCOMPARE(pal.color(QPalette::Base), QColor(227, 241, 255)); // the form's own pale blue
        }
        for (QWidget *button : QList<QWidget *>{m_form->btnAdd, m_form->btnDel}) {
            const QPalette pal = button->palette();
            QVERIFY2(Contrast(pal.color(QPalette::ButtonText), pal.color(QPalette::Button)) >= 3.0,
                     qPrintable(button->objectName()));
        }
        m_form->ComboBox1->setText(QStringLiteral("already installed Font"));
        const double verdict = DrawnContrast(m_form->ComboBox1);
        QVERIFY2(verdict >= 4.5, qPrintable(QString::number(verdict)));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility_atspi.moc"
