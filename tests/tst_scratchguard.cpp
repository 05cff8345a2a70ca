// The guard every test starts with, from outside: a real test (tst_filenames, which empties
// its scratch folder) started with its home, an XDG folder or its scratch folder outside the
// scratch root, or not set, refuses in one line and touches nothing, neither the folder it was
// given nor a canary folder outside the root. Started where it may, it empties its own home first.
#include "testsupport.h"

#include <QProcess>
#include <QtTest>

class TestScratchGuard : public QObject
{
    Q_OBJECT
    const QString m_own = testsupport::homeDir() + QStringLiteral("/own"); // a scratch folder it may use
    const QString m_link = testsupport::homeDir() + QStringLiteral("/out"); // a link to the canary folder

    static QStringList Contents(const QString &folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(Contents(TAVORET_GUARD_CANARY) == QStringList{"canary"}, "the canary is gone: configure again");
        testsupport::resetDir(m_own);
        QFile keep(m_own + QStringLiteral("/keep"));
        QVERIFY(keep.open(QIODevice::WriteOnly));
        testsupport::removePath(m_link);
        QVERIFY(QFile::link(TAVORET_GUARD_CANARY, m_link));
    }

    void refusesToStart_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value"); // "" unsets it; CANARY, LINK and ROOT stand for those folders
        QTest::newRow("HOME is /") << "HOME" << "/";
        QTest::newRow("no scratch folder") << "TAVORET_TEST_HOME" << "";
        QTest::newRow("scratch folder outside the root") << "TAVORET_TEST_HOME" << "CANARY";
        QTest::newRow("scratch folder through a link") << "TAVORET_TEST_HOME" << "LINK";
        QTest::newRow("config folder outside the root") << "XDG_CONFIG_HOME" << "CANARY";
        QTest::newRow("the scratch root itself") << "XDG_DATA_HOME" << "ROOT";
    }
    void refusesToStart()
    {
        QFETCH(QString, variable);
        QFETCH(QString, value);
        // Everything else as CTest gives it, below the scratch folder it may use.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"TAVORET_TEST_HOME", "HOME"})
            env.insert(name, m_own);
        for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            env.insert(name, m_own + '/' + name);
        value.replace("CANARY", TAVORET_GUARD_CANARY).replace("LINK", m_link).replace("ROOT", TAVORET_SCRATCH_ROOT);
        if (value.isEmpty())
            env.remove(variable);
        else
            env.insert(variable, value);
        QProcess test;
        test.setProcessEnvironment(env);
        test.start(QStringLiteral(TAVORET_GUARDED_TEST), {});
        QVERIFY(test.waitForFinished(testsupport::Patience));
        const QString said = QString::fromUtf8(test.readAllStandardError());
        QCOMPARE(test.exitStatus(), QProcess::NormalExit);
        QCOMPARE(test.exitCode(), 2);
        QVERIFY2(said.count('\n') == 1 && said.contains("refusing to start: " + variable), qPrintable(said));
        QCOMPARE(test.readAllStandardOutput(), QByteArray()); // no test function ran
        QCOMPARE(Contents(TAVORET_GUARD_CANARY), QStringList{"canary"});
        QCOMPARE(Contents(m_own), QStringList{"keep"});
    }

    // Started where it may, a test first empties its home: a killed run's preview links and
    // locks are gone before anything reads them.
    void startsFromAnEmptyHome()
    {
        QVERIFY(testsupport::MakeFolder(m_own + QStringLiteral("/.local/share/fonts/tavoret-preview"),
                                        {{".0123.lock", ""}, {"0123-0.ttf", "files/TavoretAlpha.ttf"}}));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"TAVORET_TEST_HOME", "HOME"})
            env.insert(name, m_own);
        env.insert("XDG_DATA_HOME", m_own + QStringLiteral("/.local/share"));
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            env.insert(name, m_own + '/' + name);
        QProcess test;
        test.setProcessEnvironment(env);
        test.start(QStringLiteral(TAVORET_GUARDED_TEST), {QStringLiteral("-functions")}); // lists, runs nothing
        QVERIFY(test.waitForFinished(testsupport::Patience));
        QCOMPARE(test.exitCode(), 0);
        QVERIFY2(!QFileInfo::exists(m_own + QStringLiteral("/.local")), qPrintable(Contents(m_own).join(' ')));
        QCOMPARE(Contents(TAVORET_GUARD_CANARY), QStringList{"canary"});
    }
};

QTEST_GUILESS_MAIN(TestScratchGuard)
#include "tst_scratchguard.moc"
