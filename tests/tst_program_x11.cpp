// The real program as a user starts it: --version and --help, a font file named on the command
// line, which opens previewed so that other programs see its family, Qt's own options, and a
// start without a display.
#include "platform/displaycheck.h"
#include "platform/fonttable.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <xcb/xcb.h>

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void answersAndExits_data();
    void answersAndExits();
    void opensAFileFromTheCommandLine_data();
    void opensAFileFromTheCommandLine();
    void screenHeightRule_data();
    void screenHeightRule();
    void saysSoWithoutADisplay_data();
    void saysSoWithoutADisplay();
    void checkKeepsAFreshServerFromResetting();

private:
    static QProcessEnvironment Environment(const QStringList &unset, const QStringList &set);
    // Sets a property on the root window of `display`, or says whether it is set: a reset of
    // the server clears it.
    static bool RootMark(const QByteArray &display, bool set);
};

QProcessEnvironment TestProgram::Environment(const QStringList &unset, const QStringList &set)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &name : unset)
        env.remove(name);
    for (const QString &assignment : set)
        env.insert(assignment.section(QLatin1Char('='), 0, 0), assignment.section(QLatin1Char('='), 1));
    return env;
}

void TestProgram::answersAndExits_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("output");
    QTest::newRow("version") << "--version" << "Tavoret 2.0.0.0\nTavoret for installed & uninstalled Fonts\n";
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
    QVERIFY(program.waitForFinished(testsupport::Patience));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).startsWith(output));
}

void TestProgram::opensAFileFromTheCommandLine_data()
{
    QTest::addColumn<QStringList>("qtOptions");
    QTest::addColumn<QStringList>("unset");
    // Qt's options are Qt's: none of them is reported, none is taken for a file.
    QTest::newRow("X11, with Qt's options")
        << QStringList{"-style", "fusion", "-display", qEnvironmentVariable("DISPLAY"), "-qwindowtitle", "Chart"}
        << QStringList{};
    QTest::newRow("offscreen platform, no display")
        << QStringList{"-platform", "offscreen", "--reverse"} << QStringList{"DISPLAY", "QT_QPA_PLATFORM"};
    // Qt's notice that it uses a runtime folder of its own is not repeated at every start.
    QTest::newRow("session without XDG_RUNTIME_DIR") << QStringList{} << QStringList{"XDG_RUNTIME_DIR"};
}

void TestProgram::opensAFileFromTheCommandLine()
{
    QFETCH(QStringList, qtOptions);
    QFETCH(QStringList, unset);
    const QString previews = platform::FontTable::previewFolder();
    testsupport::removePath(previews);
    QProcess program;
    program.setProcessEnvironment(Environment(unset, {}));
    program.start(QStringLiteral(TAVORET_APP),
                  qtOptions + QStringList{QStringLiteral("no-such-file.ttf"),
                                          testsupport::fontPath(QStringLiteral("files/TavoretBeta.ttf"))});
    QVERIFY(program.waitForStarted());
    // The preview is visible to other programs: a link in the preview folder, which fc-list lists.
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(previews).entryList(QDir::Files | QDir::System).isEmpty(), testsupport::Patience);
    QProcess list;
    list.start(QStringLiteral("fc-list"), {QStringLiteral(":"), QStringLiteral("family")});
    QVERIFY(list.waitForFinished(testsupport::Patience));
    QVERIFY(list.readAllStandardOutput().contains("Tavoret Test Beta"));
    QCOMPARE(program.state(), QProcess::Running); // the window stays open despite the bad name
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(errors.count(QStringLiteral("ignoring")) == 1 && errors.contains(QStringLiteral("no-such-file.ttf")),
             qPrintable(errors));
    QVERIFY2(!errors.contains(QStringLiteral("XDG_RUNTIME_DIR")), qPrintable(errors));
    program.terminate(); // a polite close, as from the session: the preview ends with the program
    QVERIFY(program.waitForFinished(testsupport::Patience));
    QTRY_VERIFY_WITH_TIMEOUT(QDir(previews).entryList(QDir::Files | QDir::System).isEmpty(), testsupport::Patience);
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
    // The window is mapped at its final size: its height is read once it is visible. (xdotool's
    // search fails when a window goes away while it looks: it is asked again.)
    const QString script = QStringLiteral(
        "\"$0\" & until xdotool search --sync --onlyvisible --name '^Tavoret$' >/dev/null 2>&1; do :; done; "
        "xwininfo -name Tavoret | grep Height; kill $!");
    QProcess run;
    run.start(QStringLiteral("xvfb-run"), {QStringLiteral("-a"), QStringLiteral("-s"),
                                           QStringLiteral("-screen 0 800x%1x24").arg(screenHeight),
                                           QStringLiteral("sh"), QStringLiteral("-c"), script,
                                           QStringLiteral(TAVORET_APP)});
    QVERIFY(run.waitForFinished(testsupport::Patience));
    const QString height = QString::fromUtf8(run.readAllStandardOutput()).section(QLatin1Char(':'), 1).trimmed();
    QTEST(height.toInt(), "windowHeight");
}

void TestProgram::saysSoWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("unset");
    QTest::addColumn<QStringList>("set");
    QTest::addColumn<QStringList>("arguments");
    const QStringList noDisplay{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    QTest::newRow("no display at all") << noDisplay << QStringList{} << QStringList{};
    QTest::newRow("X display that does not answer") << noDisplay << QStringList{"DISPLAY=:97"} << QStringList{};
    QTest::newRow("-display that does not answer")
        << QStringList{} << QStringList{} << QStringList{"-display", ":97"};
    QTest::newRow("X11 asked for, no DISPLAY") << noDisplay << QStringList{"WAYLAND_DISPLAY=wayland-97"}
                                               << QStringList{"-platform", "xcb"};
    QTest::newRow("no Wayland socket") << noDisplay
                                       << QStringList{"WAYLAND_DISPLAY=wayland-97", "XDG_RUNTIME_DIR=" + testsupport::homeDir()}
                                       << QStringList{};
}

void TestProgram::saysSoWithoutADisplay()
{
    QFETCH(QStringList, unset);
    QFETCH(QStringList, set);
    QFETCH(QStringList, arguments);
    QProcess program;
    program.setProcessEnvironment(Environment(unset, set));
    program.start(QStringLiteral(TAVORET_APP), arguments);
    QVERIFY(program.waitForFinished(testsupport::Patience));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit); // no abort
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardError(), QByteArray("tavoret: cannot open a display: set DISPLAY or WAYLAND_DISPLAY\n"));
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
}

bool TestProgram::RootMark(const QByteArray &display, bool set)
{
    // A resetting server turns clients away meanwhile.
    xcb_connection_t *connection = nullptr;
    QDeadlineTimer deadline(testsupport::Patience);
    while (!connection && !deadline.hasExpired()) {
        connection = xcb_connect(display.constData(), nullptr);
        if (xcb_connection_has_error(connection) != 0) {
            xcb_disconnect(connection);
            connection = nullptr;
            QTest::qSleep(20);
        }
    }
    if (!connection)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const char name[] = "TAVORET_MARK";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    bool result = false;
    if (atom && set) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, root, atom->atom, XCB_ATOM_STRING, 8, 1, "x");
        // The client then has the server end its connection, and waits until it has: were it the
        // last client, the server would have begun its reset before any other could come in.
        const xcb_pixmap_t own = xcb_generate_id(connection);
        xcb_create_pixmap(connection, xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root_depth, own,
                          root, 1, 1);
        xcb_kill_client(connection, own);
        free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        result = xcb_connection_has_error(connection) != 0;
    } else if (atom) {
        xcb_get_property_reply_t *property = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_STRING, 0, 1), nullptr);
        result = property && property->type == XCB_ATOM_STRING;
        free(property);
    }
    free(atom);
    xcb_disconnect(connection);
    return result;
}

// An X server resets itself when its last client leaves, and turns clients away meanwhile: the
// check for a display keeps its connection until Qt has its own, or Qt would meet a server that
// is resetting whenever the program is its first client (as under xvfb-run).
void TestProgram::checkKeepsAFreshServerFromResetting()
{
    QProcess server;
    server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"});
    QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), testsupport::Patience); // the display number, once it is ready
    const QByteArray display = ':' + server.readLine().trimmed();
    {
        platform::DisplayCheck check(QStringLiteral("xcb"), QString::fromLatin1(display));
        QVERIFY(check.canOpen());
        // Another client marks the server and leaves; a reset would take the mark away.
        QVERIFY(RootMark(display, true));
        QVERIFY2(RootMark(display, false), "the server reset: the check had left it");
        check.release();
    }
    server.terminate();
    QVERIFY(server.waitForFinished(testsupport::Patience));
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program_x11.moc"
