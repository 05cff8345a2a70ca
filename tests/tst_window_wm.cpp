// The main window and the About box under a real window manager (openbox in Xvfb), which
// frames a window only after it is shown: outer sizes, the chart following them, minimising
// and restoring, the About box's slide, and the exact captions of the real program's windows.
#include "aboutanimation.h"
#include "screen.h"
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

bool Framed(const QWidget *window)
{
    return outerSize(window) != window->size();
}

// Moves the window through the window manager and waits until it has seen the move: the
// window manager answers requests in order, so whatever was asked of it before has arrived.
bool ThroughTheWindowManager(QWidget *window)
{
    const QPoint before = window->geometry().topLeft(), to = before + QPoint(10, 10);
    return Run("xdotool", {"windowmove", "--sync", QString::number(window->winId()), QString::number(to.x()),
                           QString::number(to.y())})
        && QTest::qWaitFor([&] { return window->geometry().topLeft() != before; }, testsupport::Patience);
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

    // A size the user gives survives minimising and restoring.
    void minimiseAndRestoreKeepTheSize()
    {
        testsupport::MainWindow form = testsupport::OpenMainWindow({});
        QVERIFY(form);
        QTRY_COMPARE_WITH_TIMEOUT(outerSize(form.get()), QSize(640, 600), testsupport::Patience);
        const QString id = QString::number(form->winId());
        const QSize frame = outerSize(form.get()) - form->size();
        QVERIFY(Run("xdotool", {"windowsize", id, QString::number(900 - frame.width()),
                             QString::number(700 - frame.height())}));
        QTRY_COMPARE_WITH_TIMEOUT(outerSize(form.get()), QSize(900, 700), testsupport::Patience);
        form->showMinimized();
        QTRY_VERIFY_WITH_TIMEOUT(form->isMinimized(), testsupport::Patience);
        form->showNormal();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        // Whatever the restore brings, and what the window asks in answer, has arrived after two rounds.
        QVERIFY(ThroughTheWindowManager(form.get()) && ThroughTheWindowManager(form.get()));
        QCOMPARE(outerSize(form.get()), QSize(900, 700));
        QCOMPARE(form->StringGrid1->size(), QSize(890, 637));
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
