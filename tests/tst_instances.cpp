// The real program as a user starts it, several at once and under signals: instances that
// each see process id 1 (pid namespaces of their own) sharing one preview folder, nohup, and
// the signal of the file-size limit. Each opens a font file named on its command line.
#include "platform/filenames.h"
#include "platform/fonttable.h"
#include "platform/previewlinks.h"
#include "testsupport.h"

#include <QProcess>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {
const QString App = QStringLiteral(TAVORET_APP);

QString Previews() { return platform::FontTable::previewFolder(); }

// The links in the preview folder.
QStringList Links()
{
    QStringList links = testsupport::VisibleEntries(Previews());
    links.sort();
    return links;
}

// The lock files in the preview folder.
QStringList Locks()
{
    return QDir(Previews()).entryList({QStringLiteral(".*.lock")}, QDir::Files | QDir::Hidden | QDir::System);
}

// One of the hexadecimal signal masks of /proc/<pid>/status ("SigIgn", "SigCgt").
quint64 SignalMask(qint64 pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().toULongLong(nullptr, 16);
    }
    return 0;
}

bool InMask(quint64 mask, int signal) { return mask & (quint64(1) << (signal - 1)); }

// Starts the program with `file`, through `prefix` (words before it, such as nohup).
void Start(QProcess &program, const QStringList &prefix, const QString &file)
{
    QStringList words = prefix;
    words << App << file;
    program.start(words.takeFirst(), words);
}
} // namespace

class TestInstances : public QObject
{
    Q_OBJECT
    const QString m_alpha = testsupport::fontPath(QStringLiteral("files/TavoretAlpha.ttf"));
    const QString m_beta = testsupport::fontPath(QStringLiteral("files/TavoretBeta.ttf"));

private slots:
    void init() { testsupport::resetDir(Previews()); }

    // Instances in pid namespaces of their own all have process id 1. None takes another's
    // links for left-overs, at start or at exit, and two previews of one file get two links.
    void instancesWithOneProcessId()
    {
        const QStringList unshare{"unshare", "-p", "-f", "--mount-proc", "--kill-child=SIGTERM"};
        if (QProcess::execute(unshare.first(), unshare.mid(1) << "true") != 0)
            QSKIP("pid namespaces cannot be made here");
        QProcess first, second, third;
        Start(first, unshare, m_alpha);
        QTRY_COMPARE_WITH_TIMEOUT(Links().size(), 1, testsupport::Patience);
        const QString firstLink = Links().first();
        Start(second, unshare, m_alpha);
        QTRY_COMPARE_WITH_TIMEOUT(Links().size(), 2, testsupport::Patience);
        QVERIFY(Links().contains(firstLink)); // the second start swept nothing of the first's
        QStringList links = Links();
        links.removeOne(firstLink);
        const QString secondLink = links.first();
        QCOMPARE(Locks().size(), 2);
        QVERIFY(platform::previewLinkToken(firstLink) != platform::previewLinkToken(secondLink));
        // The first ends (unshare passes it a SIGTERM): the second's link and lock stay.
        first.kill();
        QTRY_COMPARE_WITH_TIMEOUT(Links(), QStringList{secondLink}, testsupport::Patience);
        // It removes its links first, then its lock.
        QTRY_COMPARE_WITH_TIMEOUT(Locks(), QStringList{platform::previewLockName(platform::previewLinkToken(secondLink))},
                                  testsupport::Patience);
        // A third start sweeps nothing of the second's.
        Start(third, unshare, m_beta);
        QTRY_COMPARE_WITH_TIMEOUT(Links().size(), 2, testsupport::Patience);
        QVERIFY(Links().contains(secondLink));
        second.kill();
        third.kill();
        QTRY_COMPARE_WITH_TIMEOUT(Links(), QStringList(), testsupport::Patience);
        QTRY_COMPARE_WITH_TIMEOUT(Locks(), QStringList(), testsupport::Patience);
    }

    // SIGHUP ends the program cleanly unless it came ignored (nohup); SIGXFSZ is always ignored,
    // so that a copy past the file-size limit fails with a message instead of killing the
    // program. The file's name is not valid UTF-8: the link leads to its real bytes.
    void signalHandling_data()
    {
        QTest::addColumn<QString>("start"); // the shell's words before the program
        QTest::addColumn<bool>("hangupEnds");
        QTest::newRow("plain") << "exec" << true;
        QTest::newRow("nohup") << "exec nohup" << false;
        QTest::newRow("file-size limit") << "ulimit -f 64; exec" << true;
    }
    void signalHandling()
    {
        QFETCH(QString, start);
        QFETCH(bool, hangupEnds);
        const QByteArray file = QFile::encodeName(testsupport::homeDir()) + "/caf\xe9.ttf";
        QVERIFY(testsupport::CopyToRawName(QStringLiteral("files/TavoretAlpha.ttf"), file));
        QProcess program;
        // The name's bytes reach the program through the shell: QProcess would send UTF-8.
        program.start("sh", {"-c", start + " \"$0\" \"$1$(printf '\\351').ttf\"", App,
                             testsupport::homeDir() + "/caf"});
        QVERIFY(program.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(Links().size(), 1, testsupport::Patience);
        char target[4096] = {};
        const QByteArray link = platform::encodeName(Previews() + '/' + Links().first());
        QCOMPARE(QByteArray(target, int(::readlink(link.constData(), target, sizeof target - 1))), file);
        const qint64 pid = program.processId();
        QVERIFY(InMask(SignalMask(pid, "SigIgn"), SIGXFSZ));
        QCOMPARE(InMask(SignalMask(pid, "SigIgn"), SIGHUP), !hangupEnds);
        QVERIFY(InMask(SignalMask(pid, "SigCgt"), SIGTERM));
        ::kill(pid, SIGHUP);
        if (!hangupEnds) {
            // A signal that is ignored is discarded as it is sent: the program runs on, and a
            // SIGTERM then ends it.
            QCOMPARE(program.state(), QProcess::Running);
            QCOMPARE(Links().size(), 1);
            ::kill(pid, SIGTERM);
        }
        QVERIFY(program.waitForFinished(testsupport::Patience));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(Links(), QStringList());
        QCOMPARE(Locks(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestInstances)
#include "tst_instances.moc"
