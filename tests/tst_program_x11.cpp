// The real program as a user starts it: --version and --help, and a font file named on the
// command line, which opens previewed so that other programs see its family.
#include "fonttable.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void answersAndExits_data();
    void answersAndExits();
    void opensAFileFromTheCommandLine();
    void screenHeightRule_data();
    void screenHeightRule();
};

void TestProgram::answersAndExits_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("output");
    QTest::newRow("version") << "--version" << "Tavoret 2.0.0.0\n";
    QTest::newRow("help") << "--help" << "Usage: tavoret [FILE...]\n";
}

void TestProgram::answersAndExits()
{
    QFETCH(QString, option);
    QFETCH(QString, output);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY")); // no display is needed for these
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TAVORET_APP), {option});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).startsWith(output));
}

void TestProgram::opensAFileFromTheCommandLine()
{
    const QString previews = platform::FontTable::Instance().PreviewFolder();
    QDir(previews).removeRecursively();
    QProcess program;
    program.start(QStringLiteral(TAVORET_APP),
                  {QStringLiteral("no-such-file.ttf"), testsupport::fontPath(QStringLiteral("files/TavoretBeta.ttf"))});
    QVERIFY(program.waitForStarted());
    // The preview is visible to other programs: a link in the preview folder, which fc-list lists.
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(previews).entryList(QDir::Files | QDir::System).isEmpty(), 10000);
    QProcess list;
    list.start(QStringLiteral("fc-list"), {QStringLiteral(":"), QStringLiteral("family")});
    QVERIFY(list.waitForFinished(10000));
    QVERIFY(list.readAllStandardOutput().contains("Tavoret Test Beta"));
    QCOMPARE(program.state(), QProcess::Running); // the window stays open despite the bad name
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()).count(QStringLiteral("ignoring")), 1);
    program.terminate(); // a polite close, as from the session: the preview ends with the program
    QVERIFY(program.waitForFinished(10000));
    QTRY_VERIFY_WITH_TIMEOUT(QDir(previews).entryList(QDir::Files | QDir::System).isEmpty(), 5000);
}

void TestProgram::screenHeightRule_data()
{
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<int>("windowHeight");
    QTest::newRow("exactly 480: stays 480") << 480 << 480;
    QTest::newRow("481: 600") << 481 << 600;
}

// The program on a display of its own with that height (no window manager: outer size and
// client size are the same).
void TestProgram::screenHeightRule()
{
    QFETCH(int, screenHeight);
    const QString script = QStringLiteral(
        "\"$0\" & for i in $(seq 100); do xwininfo -name Tavoret 2>/dev/null | grep Height && break; "
        "sleep 0.1; done; kill $!");
    QProcess run;
    run.start(QStringLiteral("xvfb-run"), {QStringLiteral("-a"), QStringLiteral("-s"),
                                           QStringLiteral("-screen 0 800x%1x24").arg(screenHeight),
                                           QStringLiteral("sh"), QStringLiteral("-c"), script,
                                           QStringLiteral(TAVORET_APP)});
    QVERIFY(run.waitForFinished(60000));
    const QString height = QString::fromUtf8(run.readAllStandardOutput()).section(QLatin1Char(':'), 1).trimmed();
    QTEST(height.toInt(), "windowHeight");
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program_x11.moc"
