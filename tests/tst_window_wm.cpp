// The main window and the About box under a real window manager (openbox in Xvfb), which
// frames a window only after it is shown: outer sizes, the chart following them through
// minimising, maximising, restoring and a new frame, the About box's slide, and the exact
// captions of the real program's windows.
#include "aboutanimation.h"
#include "platform/screen.h"
#include "testsupport.h"
#include "tsymbollabel.h"
#include "unit1.h"
#include "unit2.h"

#include <QProcess>
#include <QtTest>

namespace {
// Runs a command (for at most Patience) and returns what it printed; null when it failed.
QString Output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(testsupport::Patience)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    const QString output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    return output.isNull() ? QStringLiteral("") : output;
}

// The first visible window whose name matches, once there is one. xdotool's search ends with
// an X error when a window goes away while it looks at it, as windows do while a program
// starts: it is asked again.
QString FindWindow(const QString &namePattern)
{
    QElapsedTimer clock;
    clock.start();
    QString found;
    while (found.isEmpty() && clock.elapsed() < testsupport::Patience)
        found = Output("xdotool", {"search", "--sync", "--onlyvisible", "--name", namePattern}).section('\n', 0, 0);
    return found;
}

bool Run(const QString &program, const QStringList &arguments)
{
    return !Output(program, arguments).isNull();
}

QSize outerSize(const QWidget *window)
{
    return window->frameGeometry().size();
}

// The outer size of the window with X id `id` as the X server has it: its client area and the
// frame extents the window manager set on it. Empty when either cannot be read.
QSize XOuterSize(const QString &id)
{
    const QString info = Output("xwininfo", {"-id", id});
    const QRegularExpressionMatch width = QRegularExpression(QStringLiteral("Width: (\\d+)")).match(info);
    const QRegularExpressionMatch height = QRegularExpression(QStringLiteral("Height: (\\d+)")).match(info);
    const QStringList extents = Output("xprop", {"-id", id, "_NET_FRAME_EXTENTS"}).section('=', 1).split(',');
    if (!width.hasMatch() || !height.hasMatch() || extents.size() != 4)
        return QSize();
    return QSize(width.captured(1).toInt() + extents[0].toInt() + extents[1].toInt(),
                 height.captured(1).toInt() + extents[2].toInt() + extents[3].toInt());
}

bool Framed(const QWidget *window)
{
    return outerSize(window) != window->size();
}
} // namespace

class TestWindowWm : public QObject
{
    Q_OBJECT
    QProcess m_windowManager;

private slots:
    void initTestCase()
    {
        m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        QVERIFY2(m_windowManager.waitForStarted(), "openbox is needed (Debian package openbox)");
        // A window manager announces itself on the root window.
        QTRY_VERIFY_WITH_TIMEOUT(Output("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id"), testsupport::Patience);
    }
    void cleanupTestCase()
    {
        m_windowManager.terminate();
        m_windowManager.waitForFinished(testsupport::Patience);
    }

    // The outer size (frame included) is the designed one, and the chart follows it.
    void framedAtTheDesignedOuterSize()
    {
        testsupport::MainWindow form = testsupport::OpenMainWindow({});
        QVERIFY(form);
        QTRY_VERIFY_WITH_TIMEOUT(Framed(form.get()), testsupport::Patience);
        QTRY_COMPARE_WITH_TIMEOUT(outerSize(form.get()), QSize(640, 600), testsupport::Patience);
        QCOMPARE(form->frameGeometry().topLeft(), QPoint(0, 0));
        QCOMPARE(form->StringGrid1->size(), QSize(630, 537));
    }

    // The chart follows the outer size as the X server has it (the client area and the frame
    // extents the window manager sets on the window), whatever the window's state: a size the
    // user gives survives minimising and restoring; maximising takes away the frame's borders.
    void windowStates_data()
    {
        // s the user sizes it, m minimise, M maximise, r restore, f the window manager gives it
        // another frame (as a new theme does) without resizing it
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QSize>("outer"); // empty: whatever the new frame makes it
        QTest::newRow("sized, minimised, restored: the user's size stays") << "smr" << QSize(900, 700);
        QTest::newRow("maximised: the whole screen") << "M" << QSize(1280, 1024);
        QTest::newRow("maximised, restored") << "Mr" << QSize(640, 600);
        QTest::newRow("sized, maximised, restored") << "sMr" << QSize(900, 700);
        QTest::newRow("sized, new frame") << "sf" << QSize();
    }
    void windowStates()
    {
        QFETCH(QString, steps);
        QFETCH(QSize, outer);
        testsupport::MainWindow form = testsupport::OpenMainWindow({});
        QVERIFY(form);
        QTRY_COMPARE_WITH_TIMEOUT(outerSize(form.get()), QSize(640, 600), testsupport::Patience);
        const QString id = QString::number(form->winId());
        for (const QChar step : steps) {
            if (step == QLatin1Char('s')) {
                const QSize frame = outerSize(form.get()) - form->size();
                QVERIFY(Run("xdotool", {"windowsize", id, QString::number(900 - frame.width()),
                                        QString::number(700 - frame.height())}));
                QTRY_COMPARE_WITH_TIMEOUT(outerSize(form.get()), QSize(900, 700), testsupport::Patience);
            } else if (step == QLatin1Char('f')) {
                QVERIFY(Run("xprop", {"-id", id, "-f", "_NET_FRAME_EXTENTS", "32c", "-set", "_NET_FRAME_EXTENTS",
                                      "3, 3, 23, 4"}));
            } else if (step == QLatin1Char('m')) {
                form->showMinimized();
                QTRY_VERIFY_WITH_TIMEOUT(form->isMinimized(), testsupport::Patience);
            } else if (step == QLatin1Char('M')) { // as a user does: a double click on the title bar
                const QPoint title(form->x() + 300, (form->frameGeometry().top() + form->geometry().top()) / 2);
                // (--sync would wait for a move that never comes where the pointer stands already.)
                QVERIFY(Run("xdotool", {"mousemove", QString::number(title.x()), QString::number(title.y()),
                                        "sleep", "0.2", "click", "--repeat", "2", "1"}));
                QTRY_VERIFY_WITH_TIMEOUT(form->isMaximized(), testsupport::Patience);
            } else {
                form->showNormal();
                form->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(form.get()));
            }
        }
        if (outer.isValid())
            QTRY_COMPARE_WITH_TIMEOUT(XOuterSize(id), outer, testsupport::Patience);
        QTRY_COMPARE_WITH_TIMEOUT(form->StringGrid1->size(), XOuterSize(id) - QSize(10, 63), testsupport::Patience);
    }

    // The box slides to the middle of the screen by its outer height, frame included.
    void aboutBoxEndsCentredByItsFrame()
    {
        bool slid = false; // the box was seen above the screen: the slide began
        QRect centred;     // where it stood, once framed and centred by its outer height
        testsupport::AboutBoxOpening opening;
        opening.whileOpen = [&](TAboutBox *box) {
            const QRect screen = platform::primaryScreenGeometry();
            const QRect frame = box->frameGeometry();
            if (!slid) {
                slid = frame.top() < screen.top();
            } else if (box->Label1->font().pointSize() < about::PulseLargest // the slide is over
                       && frame.height() > 224 // framed: the client area alone is 224 high
                       && frame.top() == screen.top() + (screen.height() - frame.height()) / 2) {
                // The window manager carries out moves in its own time: until the watchdog ends
                // the pulsing, the box may still reach its place.
                centred = frame;
                StopAnimation = 1;
            }
        };
        opening.run();
        QVERIFY2(!centred.isNull(), "the box never stood framed in the middle of the screen");
    }

    // The real program's captions stand as they are, with no program name appended.
    void captionsAreExact()
    {
        QProcess program;
        program.start(QStringLiteral(TAVORET_APP), {});
        QVERIFY(program.waitForStarted());
        const QString main = FindWindow(QStringLiteral("^Tavoret$"));
        QVERIFY2(!main.isEmpty(), program.readAllStandardError().constData());
        QCOMPARE(Output("xdotool", {"getwindowname", main}), QStringLiteral("Tavoret"));
        // "view uninstalled Font-Files ..." reveals Add; Add with no file selected warns.
        // The program takes the clicks in order: the second finds Add revealed by the first.
        QVERIFY(Run("xdotool", {"mousemove", "--sync", "--window", main, "390", "8", "click", "1"}));
        QVERIFY(Run("xdotool", {"mousemove", "--sync", "--window", main, "308", "29", "click", "1"}));
        const QString warning = FindWindow(QStringLiteral("^Done nothing"));
        QVERIFY(!warning.isEmpty());
        QCOMPARE(Output("xdotool", {"getwindowname", warning}), QStringLiteral("Done nothing, because ..."));
        Output("xdotool", {"key", "--window", warning, "Return"});
        program.terminate();
        QVERIFY(program.waitForFinished(testsupport::Patience));
    }
};

QTEST_MAIN(TestWindowWm)
#include "tst_window_wm.moc"
