// The main window as a screen reader and a keyboard user meet it, on a private accessibility
// bus (the test runs under dbus-run-session with the bus launcher, see CMakeLists.txt): names, roles and values of
// the controls, the chart as a table of named cells, the announcements, nothing hidden that
// claims to be shown or focused, the keys that pick, open the menu, copy and open the About
// box, and readable colours under the default and a dark theme.
#include "chartcells.h"
#include "platform/fonttable.h"
#include "testsupport.h"
#include "unit1.h"
#include "unit2.h"

#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
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
    QAccessible::Role role; // of what the event is about
    QString text;           // the text inserted, or the name of what was shown
};
QList<Announcement> g_events; // what the last steps announced

void Collect(QAccessibleEvent *event)
{
    QAccessibleInterface *about = event->accessibleInterface();
    QString text;
    if (event->type() == QAccessible::TextInserted)
        text = static_cast<QAccessibleTextInsertEvent *>(event)->textInserted();
    else if (event->type() == QAccessible::ObjectShow && about)
        text = about->text(QAccessible::Name);
    g_events.append({event->object(), event->type(), event->child(), about ? about->role() : QAccessible::NoRole, text});
}

// What a screen reader may speak of the last steps without a focus change, as
// "event, source: text": a text put into a control, a notification that shows itself.
QStringList Heard()
{
    QStringList heard;
    for (const Announcement &event : std::as_const(g_events)) {
        if (event.type == QAccessible::TextInserted && event.object)
            heard << QStringLiteral("text inserted, %1: %2").arg(event.object->objectName(), event.text);
        else if (event.type == QAccessible::ObjectShow && event.role == QAccessible::Notification)
            heard << QStringLiteral("notification shown: %1").arg(event.text);
    }
    return heard;
}

// Objects below `iface` that a hidden ancestor hides but that claim to be shown, and focused
// objects outside the focus widget.
void FindFalseClaims(QAccessibleInterface *iface, bool hiddenAbove, bool inFocusWidget, QStringList &claims)
{
    const QAccessible::State state = iface->state();
    inFocusWidget = inFocusWidget || (iface->object() && iface->object() == QApplication::focusWidget());
    const QString name = iface->text(QAccessible::Name);
    if (hiddenAbove && !state.invisible)
        claims << QStringLiteral("shown: ") + name;
    if (state.focused && !inFocusWidget)
        claims << QStringLiteral("focused: ") + name;
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface *child = iface->child(i))
            FindFalseClaims(child, hiddenAbove || state.invisible, inFocusWidget, claims);
    }
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

    // What the selectors show (their names are their purpose) is their value and a read-only
    // text, selected as a whole, and every change of it is announced as a text put in, whoever
    // made it. ("~": the test's home folder.)
    void selectorsShowTheirItem_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("action"); // keys, or "folder " and a folder to move to
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("font selected by the program") << "ComboBox1" << "" << "DejaVu Sans" << QStringList();
        QTest::newRow("font picked with a key") << "ComboBox1" << "Down" << "Liberation Serif"
                                                << QStringList{"text inserted, ComboBox1: Liberation Serif"};
        QTest::newRow("drive picked with a key") << "DriveComboBox1" << "Down" << "~/volA [DATA]"
                                                 << QStringList{"text inserted, DriveComboBox1: ~/volA [DATA]"};
        QTest::newRow("drive follows the folder") << "DriveComboBox1" << "folder ~/volA/sub" << "~/volA [DATA]"
                                                  << QStringList{"text inserted, DriveComboBox1: ~/volA [DATA]"};
        QTest::newRow("another folder on the drive") << "DriveComboBox1" << "folder ~" << "/" << QStringList();
    }
    void selectorsShowTheirItem()
    {
        QFETCH(QString, selector);
        QFETCH(QString, action);
        QFETCH(QString, shown);
        QFETCH(QStringList, heard);
        const QString home = testsupport::homeDir();
        QVERIFY(QDir().mkpath(home + QStringLiteral("/volA/sub")));
        const QList<platform::Volume> volumes{{"/", "", platform::VolumeKind::Fixed},
                                              {home + QStringLiteral("/volA"), "DATA", platform::VolumeKind::Fixed}};
        m_form->DriveComboBox1->browser()->setVolumeSource([volumes] { return volumes; });
        m_form->ComboBox1->fill({"DejaVu Sans", "Liberation Serif", "Times New Roman"});
        m_form->ComboBox1->setItemIndex(0);
        QWidget *box = Control(selector);
        box->setFocus();
        g_events.clear();
        if (action.startsWith(QLatin1String("folder ")))
            m_form->DirectoryListBox1->setDirectory(action.mid(7).replace(QLatin1Char('~'), home));
        else
            Keys(action);
        shown.replace(QLatin1Char('~'), home);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(accessible->text(QAccessible::Value), shown);
        QAccessibleTextInterface *text = accessible->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), shown);
        int start = -1, end = -1;
        text->selection(0, &start, &end);
        QCOMPARE(qMakePair(start, end), qMakePair(0, int(shown.size())));
        QCOMPARE(Heard(), heard.replaceInStrings(QStringLiteral("~"), home));
    }

    // After a preview the selector shows its outcome, and a screen reader hears it wherever the
    // focus is: from a notification, or from the selector itself while that has the focus.
    void previewOutcomeIsHeard_data()
    {
        QTest::addColumn<QString>("font");  // in the test fonts
        QTest::addColumn<QString>("focus"); // the control with the focus meanwhile
        QTest::addColumn<bool>("later");    // the outcome comes after the preview has returned
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("new face") << "files/TavoretBeta.ttf" << "FileListBox1" << false << "Tavoret Test Beta"
                                  << QStringList{"text inserted, ComboBox1: Tavoret Test Beta",
                                                 "notification shown: Tavoret Test Beta"};
        QTest::newRow("installed already") << "files/DejaVuSansCopy.ttf" << "FileListBox1" << false
                                           << "already installed Font"
                                           << QStringList{"text inserted, ComboBox1: already installed Font",
                                                          "notification shown: already installed Font"};
        QTest::newRow("not a font") << "broken/random.ttf" << "StringGrid1" << false << "not a valid Font-File"
                                    << QStringList{"text inserted, ComboBox1: not a valid Font-File",
                                                   "notification shown: not a valid Font-File"};
        QTest::newRow("outcome after the preview") << "files/TavoretAlpha.ttf" << "FileListBox1" << true
                                                   << "Tavoret Test Alpha"
                                                   << QStringList{"text inserted, ComboBox1: Tavoret Test Alpha",
                                                                  "notification shown: Tavoret Test Alpha"};
        QTest::newRow("selector has the focus") << "files/TavoretBeta.ttf" << "ComboBox1" << false
                                                << "Tavoret Test Beta"
                                                << QStringList{"text inserted, ComboBox1: Tavoret Test Beta"};
    }
    void previewOutcomeIsHeard()
    {
        QFETCH(QString, font);
        QFETCH(QString, focus);
        QFETCH(bool, later);
        QFETCH(QString, shown);
        QFETCH(QStringList, heard);
        const QString folder = testsupport::homeDir() + QStringLiteral("/outcome");
        const QString file = QFileInfo(font).fileName();
        QVERIFY(testsupport::MakeFolder(folder, {{file, font}}));
        m_form->FileListBox1->setFileName(folder + QLatin1Char('/') + file);
        Control(focus)->setFocus();
        if (later) {
            // A worker still coming up would answer together with its ready mark: have it ready.
            m_form.fonts().faceReader().read(testsupport::fontPath(QStringLiteral("files/TavoretBeta.ttf")));
            m_form->preview().setAnswerWithin(0);
        }
        g_events.clear();
        m_form->FileListBox1Click();
        if (later) // nothing is said while the answer is awaited (it comes through the event loop)
            QVERIFY2(Heard().isEmpty(), qPrintable(Heard().join(QLatin1String("; "))));
        QTRY_COMPARE(Heard(), heard);
        QCOMPARE(QAccessible::queryAccessibleInterface(m_form->ComboBox1)->text(QAccessible::Value), shown);
    }

    // Nothing that is hidden claims to be shown, nothing but the control with the focus claims
    // the focus: not the current entry of a hidden list, of the closed drop-down lists, or of
    // a list the user is not in.
    void nothingHiddenIsShownOrFocused_data()
    {
        QTest::addColumn<bool>("panelShown");
        QTest::addColumn<QString>("focus");
        QTest::newRow("panel hidden") << false << "ComboBox1";
        QTest::newRow("panel shown, chart focused") << true << "StringGrid1";
        QTest::newRow("panel shown, file list focused") << true << "FileListBox1";
    }
    void nothingHiddenIsShownOrFocused()
    {
        QFETCH(bool, panelShown);
        QFETCH(QString, focus);
        if (!panelShown) {
            m_form = testsupport::OpenMainWindow();
            QVERIFY(m_form);
        }
        m_form->FileListBox1->setFileName(testsupport::fontPath(QStringLiteral("files/TavoretBeta.ttf")));
        Control(focus)->setFocus();
        QCOMPARE(m_form->FileListBox1->isVisible(), panelShown);
        QStringList claims;
        FindFalseClaims(QAccessible::queryAccessibleInterface(m_form.get()), false, false, claims);
        QCOMPARE(claims, QStringList());
        // The file list's current entry is there, shown and focused while the list shows and has the focus.
        QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(m_form->FileListBox1)->child(
            m_form->FileListBox1->currentRow());
        QVERIFY(entry);
        QCOMPARE(entry->text(QAccessible::Name), QStringLiteral("TavoretBeta.ttf"));
        QCOMPARE(!entry->state().invisible, panelShown);
        QCOMPARE(bool(entry->state().focused), focus == QLatin1String("FileListBox1"));
    }

    // The keyboard alone picks, opens the menu (on its first item) and copies, starting with
    // the chart's current cell at code 32; the arrow keys alone pick nothing. The focus stays
    // on the chart, with the picked-character box holding the character.
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
        QTest::newRow("the keys go on after a pick") << "Right Enter Right Enter" << "\"" << "Dec: 0034 Hex: 22"
                                                     << "-" << false;
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
            QCOMPARE(m_form->PopupMenu1->activeAction(), m_form->mnuitCopy1);
            m_form->PopupMenu1->close();
        }
        QCOMPARE(QApplication::focusWidget(), m_form->StringGrid1);
        QCOMPARE(m_form->RichEdit1->SelLength(), m_form->RichEdit1->Text().size());
    }

    // F1 opens the About box, which starts with the focus on its default button, OK.
    void f1OpensTheAboutBox()
    {
        QWidget *focus = nullptr;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            if (AboutBox && AboutBox->isActiveWindow()) {
                focus = QApplication::focusWidget();
                StopAnimation = 1;
            }
        });
        watcher.start(5);
        QTimer::singleShot(testsupport::Patience, [] { StopAnimation = 1; });
        QTest::keyClick(m_form.get(), Qt::Key_F1); // returns once the box has closed
        QVERIFY(focus);
        QCOMPARE(focus->objectName(), QStringLiteral("OKButton"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A separate screen-reader client on the bus reads the real program: the selector's name
    // and its text, the verdict after a broken file is previewed, and the chart's cell names.
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
