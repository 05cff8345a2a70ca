// The program as a native Wayland client of a real compositor (a headless weston): the window
// and its chart, the About box opened again and again, the clipboard seen by another client,
// a drop, and the start-up check where Qt has no Wayland platform.
#include "testsupport.h"
#include "unit1.h"
#include "unit2.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScrollBar>
#include <QtTest>

namespace {
// What another Wayland client reads of the clipboard, or "" when it cannot. The window hands
// the data over from its event loop, which runs meanwhile.
QString Paste(const QStringList &arguments)
{
    QProcess paste;
    paste.start(QStringLiteral("wl-paste"), arguments);
    if (!QTest::qWaitFor([&] { return paste.state() == QProcess::NotRunning; }, testsupport::Patience)
        || paste.exitCode() != 0)
        return QString();
    return QString::fromUtf8(paste.readAllStandardOutput());
}
} // namespace

class TestDesktopWayland : public QObject
{
    Q_OBJECT
    testsupport::MainWindow m_form;

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland")); }
    void init()
    {
        m_form = testsupport::OpenMainWindow();
        QVERIFY(m_form);
    }
    void cleanup() { m_form.reset(); }

    void chartFitsTheWindow()
    {
        TStringGrid *chart = m_form->StringGrid1;
        QVERIFY(chart->width() > 0 && chart->height() > 0);
        QVERIFY(m_form->rect().contains(chart->geometry()));
        QVERIFY(!chart->horizontalScrollBar()->isVisible());
        QVERIFY(!chart->verticalScrollBar()->isVisible());
    }

    // Each opening used to move the box once per pixel of its slide, a request the compositor
    // cannot carry out, until the connection broke. The box stays where the compositor puts it.
    void aboutBoxOpensTwentyTimes()
    {
        for (int opening = 0; opening < 20; ++opening) {
            QSet<int> tops;
            testsupport::AboutBoxOpening about;
            about.whileOpen = [&](TAboutBox *box) {
                tops << box->y();
                QCOMPARE(box->parentWidget(), m_form.get()); // kept above the main window
            };
            about.whilePulsing = [](TAboutBox *) { StopAnimation = 1; };
            about.run();
            QVERIFY(about.closed);
            QCOMPARE(tops.size(), 1);
        }
        QVERIFY(m_form->isVisible());
    }

    void copyReachesOtherClients()
    {
        const QPoint cell = m_form->StringGrid1->cellRect(1, 2).center(); // "A"
        QTest::mouseClick(m_form->StringGrid1->viewport(), Qt::LeftButton, {}, cell);
        m_form->mnuitCopy1Click();
        QTRY_COMPARE_WITH_TIMEOUT(Paste({"--no-newline", "--type", "text/plain"}), QStringLiteral("A"),
                                  testsupport::Patience);
        const QString types = Paste({"--list-types"});
        QVERIFY2(types.contains("text/html") && types.contains("text/rtf"), qPrintable(types));
    }

    void dropPreviews()
    {
        const QString font = testsupport::fontPath(QStringLiteral("files/TavoretBeta.ttf"));
        QVERIFY(testsupport::SendDrop(m_form.get(), {QUrl::fromLocalFile(font)}));
        QTRY_COMPARE(m_form->ComboBox1->shownText(), QStringLiteral("Tavoret Test Beta"));
    }

    // Where the compositor answers but Qt lacks its Wayland platform (the plugins folder without
    // it, in a mount namespace of the program's own), the program says what to install.
    void namesAMissingWaylandPlatform()
    {
        const QString platforms = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
        const QString without = testsupport::homeDir() + QStringLiteral("/platforms");
        testsupport::resetDir(without);
        for (const QString &plugin : QDir(platforms).entryList({"libqxcb.so", "libqoffscreen.so"}))
            QVERIFY(QFile::copy(platforms + '/' + plugin, without + '/' + plugin));
        QProcess program;
        program.setProcessChannelMode(QProcess::SeparateChannels);
        program.start(QStringLiteral("unshare"),
                      {"--mount", "sh", "-c", "mount --bind \"$1\" \"$2\" && exec \"$3\"", "sh", without, platforms,
                       QStringLiteral(TAVORET_APP)});
        QVERIFY(program.waitForFinished(testsupport::Patience));
        const QByteArray said = program.readAllStandardError();
        if (said.contains("unshare") || said.contains("mount"))
            QSKIP("no mount namespace here: " + said);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit); // no abort
        QCOMPARE(program.exitCode(), 1);
        QCOMPARE(said, QByteArray("tavoret: cannot open a display: install qt6-wayland, or run under X11\n"));
    }
};

QTEST_MAIN(TestDesktopWayland)
#include "tst_desktop_wayland.moc"
