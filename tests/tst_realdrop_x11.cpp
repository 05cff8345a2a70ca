// A real drag from another X client onto the main window: the drag source is its own process
// (tests/dragsource) and xdotool moves the real pointer, so the file names reach Tavoret through
// the X server's drag-and-drop messages and selection transfer, not as events made up in the test.
#include "platform/fonttable.h"
#include "testsupport.h"
#include "unit1.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {
// Where the drag source puts its 200x100 window: right of the main window, which sits at 0,0.
const QPoint SourceTopLeft(700, 100);
const int WaitMs = testsupport::Patience;

// Keeps this process's events flowing while `process` runs: the main window has to answer the
// drag messages and fetch the dropped data from the source. Whether it ended well in time.
bool WaitForEnd(QProcess &process)
{
    QDeadlineTimer deadline(WaitMs);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

// Where the last drag offered to a window of this process stood (global position).
class DragOffers : public QObject
{
public:
    bool atTarget(const QPoint &target) const { return (m_last - target).manhattanLength() <= 1; }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if ((event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) && watched->isWidgetType())
            m_last = static_cast<QWidget *>(watched)->mapToGlobal(static_cast<QDropEvent *>(event)->position().toPoint());
        return false;
    }

private:
    QPoint m_last{-100, -100};
};
} // namespace

class TestRealDropX11 : public QObject
{
    Q_OBJECT
    QString m_folder = testsupport::homeDir() + QStringLiteral("/dropped");
    QProcess m_source;
    testsupport::MainWindow m_form;

    // The source says "ready" once its window is painted, i.e. mapped and on the screen.
    bool StartSource(const QStringList &files)
    {
        m_source.start(QStringLiteral(TAVORET_DRAGSOURCE),
                       QStringList{QString::number(SourceTopLeft.x()), QString::number(SourceTopLeft.y())} + files);
        return m_source.waitForReadyRead(WaitMs) && m_source.readLine().startsWith("ready");
    }
    // Runs xdotool with `args` while this process's events flow.
    static bool Xdotool(const QStringList &args)
    {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), args);
        return WaitForEnd(xdotool);
    }
    static QStringList MoveTo(const QPoint &at)
    {
        return {"mousemove", QString::number(at.x()), QString::number(at.y())};
    }
    // Press on the source and travel in steps to the target: every motion after the drag began is
    // one position message for the window under the pointer. The button goes up only once a window
    // of this process has been offered the drag at the target, and so has answered it.
    static bool DragOnto(const QPoint &target)
    {
        const QPoint start = SourceTopLeft + QPoint(100, 50);
        QStringList path = MoveTo(start) << "mousedown" << "1";
        for (int i = 1; i <= 12; ++i)
            path << MoveTo(start + (target - start) * i / 12);
        if (!Xdotool(path))
            return false;
        DragOffers offers;
        qApp->installEventFilter(&offers);
        // The source may begin its drag after the last motion: the pointer moves on a pixel at a
        // time until the offer comes.
        QDeadlineTimer deadline(WaitMs);
        for (int nudge = 1; !offers.atTarget(target) && !deadline.hasExpired(); ++nudge) {
            if (!Xdotool(MoveTo(target + QPoint(nudge % 2, 0))))
                return false;
            if (QTest::qWaitFor([&] { return offers.atTarget(target); }, 100))
                break;
        }
        return offers.atTarget(target) && Xdotool({"mouseup", "1"});
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(), "xdotool is needed");
        // Spaces, non-ASCII letters and # must survive the way through file URLs.
        QVERIFY(testsupport::MakeFolder(m_folder, {{"a folder with ä", "/"},
                                                   {"a folder with ä/Alpha Ü #1.TTF", "files/TavoretAlpha.ttf"},
                                                   {"TavoretAlpha.ttf", "files/TavoretAlpha.ttf"},
                                                   {"notes.txt", ""}}));
    }
    void init()
    {
        PreviewFontFile.clear();
        m_form = testsupport::OpenMainWindow();
        QVERIFY(m_form);
    }
    void cleanup()
    {
        if (m_source.state() != QProcess::NotRunning) {
            m_source.kill();
            m_source.waitForFinished(WaitMs);
        }
        m_form.reset();
    }

    void drop_data()
    {
        QTest::addColumn<QStringList>("files"); // dragged together, in this order
        QTest::addColumn<bool>("panelShown");   // whether the drop reveals the browser and previews the first
        QTest::newRow("font file") << QStringList{"a folder with ä/Alpha Ü #1.TTF"} << true;
        QTest::newRow("text file") << QStringList{"notes.txt"} << false;
        QTest::newRow("font file first of two") << QStringList{"TavoretAlpha.ttf", "notes.txt"} << true;
    }
    void drop()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, panelShown);
        QStringList paths;
        for (const QString &file : files)
            paths << m_folder + QLatin1Char('/') + file;
        const int itemsBefore = m_form->ComboBox1->count();
        QVERIFY(StartSource(paths));
        QVERIFY(DragOnto(m_form->StringGrid1->mapToGlobal(m_form->StringGrid1->rect().center())));
        QVERIFY2(WaitForEnd(m_source), m_source.readAllStandardError().constData());
        const QByteArray said = m_source.readAllStandardOutput();
        QVERIFY2(said.contains("released copy") && said.contains("finished"), said.constData());

        QTRY_COMPARE_WITH_TIMEOUT(m_form->FileDrag1->NameWithPath(), paths, WaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->FileListBox1->isVisible(), panelShown, WaitMs);
        QCOMPARE(m_form->FileListBox1->FileName(), panelShown ? paths.first() : QString());
        QCOMPARE(m_form->ComboBox1->count(), itemsBefore + (panelShown ? 1 : 0));
        QCOMPARE(m_form->StringGrid1->FontName(), QString(panelShown ? "Tavoret Test Alpha" : "Times New Roman"));
    }
};

QTEST_MAIN(TestRealDropX11)
#include "tst_realdrop_x11.moc"
