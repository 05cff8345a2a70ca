// A real drag from another X client onto the main window: the drag source is its own process
// (tests/dragsource) and xdotool moves the real pointer, so the file names reach Tavoret through
// the X server's drag-and-drop messages and selection transfer, not as events made up in the test.
#include "fonttable.h"
#include "testsupport.h"
#include "unit1.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

namespace {
// Where the drag source puts its 200x100 window: right of the main window, which sits at 0,0.
const QPoint kSourceTopLeft(700, 100);
const int kWaitMs = 10000;

QString Arg(int value)
{
    return QString::number(value);
}
} // namespace

class TestRealDropX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void drop_data();
    void drop();

private:
    QString Path(const QString &name) const { return m_folder + QLatin1Char('/') + name; }
    bool StartSource(const QStringList &files);
    bool DragOnto(const QPoint &target);
    bool WaitForSourceToEnd();

    QString m_folder;
    QProcess m_source;
    std::unique_ptr<TForm1> m_form;
};

void TestRealDropX11::initTestCase()
{
    QVERIFY2(QFile::exists(QStringLiteral(TAVORET_DRAGSOURCE)), TAVORET_DRAGSOURCE);
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(), "xdotool is needed");
    m_folder = testsupport::homeDir() + QStringLiteral("/dropped");
    testsupport::resetDir(m_folder);
    QVERIFY(QDir().mkpath(Path(QStringLiteral("a folder with ä"))));
    QVERIFY(QFile::copy(testsupport::fontPath(QStringLiteral("files/TavoretAlpha.ttf")),
                        Path(QStringLiteral("TavoretAlpha.ttf"))));
    // Spaces and non-ASCII letters must survive the way through file URLs.
    QVERIFY(QFile::copy(testsupport::fontPath(QStringLiteral("files/TavoretAlpha.ttf")),
                        Path(QStringLiteral("a folder with ä/Alpha Ü #1.TTF"))));
    QFile notes(Path(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a font\n");
}

void TestRealDropX11::init()
{
    PreviewFontFile.clear();
    StartupFontNames = platform::FontTable::Instance().ReadInstalledFontNames();
    m_form = std::make_unique<TForm1>();
    m_form->move(0, 0);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QVERIFY(m_form->Button1->isVisible());
    QVERIFY(!m_form->FileListBox1->isVisible());
}

void TestRealDropX11::cleanup()
{
    if (m_source.state() != QProcess::NotRunning) {
        m_source.kill();
        m_source.waitForFinished(kWaitMs);
    }
    if (m_form)
        m_form->close();
    m_form.reset();
}

bool TestRealDropX11::StartSource(const QStringList &files)
{
    QStringList args{QStringLiteral("--x"), Arg(kSourceTopLeft.x()), QStringLiteral("--y"), Arg(kSourceTopLeft.y())};
    m_source.start(QStringLiteral(TAVORET_DRAGSOURCE), args + files);
    if (!m_source.waitForStarted(kWaitMs))
        return false;
    // The source says "ready" once its window is painted, i.e. mapped and on the screen.
    QDeadlineTimer deadline(kWaitMs);
    QByteArray said;
    while (!said.contains("ready") && !deadline.hasExpired() && m_source.state() == QProcess::Running) {
        QTest::qWait(20);
        said += m_source.readAllStandardOutput();
    }
    return said.contains("ready");
}

bool TestRealDropX11::DragOnto(const QPoint &target)
{
    // Press on the source, move past the drag distance, then travel in steps to the target and
    // rest there: every step is one motion the source turns into a position message for the
    // window under the pointer, and the pauses let the answers come back before the release.
    const QPoint start = kSourceTopLeft + QPoint(100, 50);
    QStringList args{QStringLiteral("mousemove"), Arg(start.x()), Arg(start.y()), QStringLiteral("sleep"),
                     QStringLiteral("0.2"), QStringLiteral("mousedown"), QStringLiteral("1")};
    const int steps = 12;
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = start + (target - start) * i / steps;
        args << QStringLiteral("sleep") << QStringLiteral("0.05") << QStringLiteral("mousemove") << Arg(at.x())
             << Arg(at.y());
    }
    for (int i = 1; i <= 3; ++i) {
        args << QStringLiteral("sleep") << QStringLiteral("0.1") << QStringLiteral("mousemove")
             << Arg(target.x() + i) << Arg(target.y());
    }
    args << QStringLiteral("sleep") << QStringLiteral("0.2") << QStringLiteral("mouseup") << QStringLiteral("1");

    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), args);
    if (!xdotool.waitForStarted(kWaitMs))
        return false;
    // Keep this process's events flowing: the main window has to answer the drag messages while
    // the pointer moves, and fetch the dropped data from the source after the release.
    QDeadlineTimer deadline(kWaitMs);
    while (xdotool.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return xdotool.state() == QProcess::NotRunning && xdotool.exitStatus() == QProcess::NormalExit
        && xdotool.exitCode() == 0;
}

bool TestRealDropX11::WaitForSourceToEnd()
{
    QDeadlineTimer deadline(kWaitMs);
    while (m_source.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return m_source.state() == QProcess::NotRunning && m_source.exitStatus() == QProcess::NormalExit
        && m_source.exitCode() == 0;
}

void TestRealDropX11::drop_data()
{
    QTest::addColumn<QStringList>("files");       // dragged together, in this order
    QTest::addColumn<bool>("panelShown");         // whether the drop reveals the browser
    QTest::addColumn<QString>("face");            // the previewed face, when one is expected
    QTest::newRow("font file") << QStringList{"TavoretAlpha.ttf"} << true << "Tavoret Test Alpha";
    QTest::newRow("text file") << QStringList{"notes.txt"} << false << "";
    QTest::newRow("space, umlaut and # in the name") << QStringList{"a folder with ä/Alpha Ü #1.TTF"} << true
                                                     << "Tavoret Test Alpha";
    QTest::newRow("font file first of two") << QStringList{"TavoretAlpha.ttf", "notes.txt"} << true
                                            << "Tavoret Test Alpha";
    QTest::newRow("text file first of two") << QStringList{"notes.txt", "TavoretAlpha.ttf"} << false << "";
}

void TestRealDropX11::drop()
{
    QFETCH(QStringList, files);
    QFETCH(bool, panelShown);
    QFETCH(QString, face);
    QStringList paths;
    for (const QString &file : files)
        paths << Path(file);
    const int itemsBefore = m_form->ComboBox1->count();

    QVERIFY(StartSource(paths));
    QWidget *chart = m_form->StringGrid1;
    QVERIFY(DragOnto(chart->mapToGlobal(chart->rect().center())));
    QVERIFY2(WaitForSourceToEnd(), m_source.readAllStandardError().constData());
    const QByteArray said = m_source.readAllStandardOutput();
    QVERIFY2(said.contains("released copy") && said.contains("finished"), said.constData());

    QTRY_COMPARE_WITH_TIMEOUT(m_form->FileDrag1->FileCount(), int(paths.size()), kWaitMs);
    QCOMPARE(m_form->FileDrag1->NameWithPath(), paths);
    QTRY_COMPARE_WITH_TIMEOUT(m_form->FileListBox1->isVisible(), panelShown, kWaitMs);
    QCOMPARE(m_form->Button1->isVisible(), !panelShown);
    if (panelShown) {
        QCOMPARE(m_form->FileListBox1->FileName(), paths.first());
        QCOMPARE(m_form->ComboBox1->count(), itemsBefore + 1);
        QCOMPARE(m_form->ComboBox1->ItemIndex(), itemsBefore);
        QCOMPARE(m_form->ComboBox1->Text(), face);
        QCOMPARE(m_form->StringGrid1->FontName(), face);
    } else {
        // Nothing was previewed: the selector and the chart keep their font.
        QCOMPARE(m_form->ComboBox1->count(), itemsBefore);
        QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Times New Roman"));
    }
}

QTEST_MAIN(TestRealDropX11)
#include "tst_realdrop_x11.moc"
