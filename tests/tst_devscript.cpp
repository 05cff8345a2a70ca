// scripts/dev.sh as a developer meets it on other machines: a copy of it runs in a scratch
// project whose PATH holds stand-ins for id, sudo, dpkg-query, apt-get, cmake, ctest and cpack
// that log how they were called. What it installs, builds and starts, and what it says where
// it cannot install, follow from the log and its output.
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

class TestDevScript : public QObject
{
    Q_OBJECT
    QString m_project = testsupport::homeDir() + QStringLiteral("/project");
    QString m_bin = testsupport::homeDir() + QStringLiteral("/bin");
    QString m_log = testsupport::homeDir() + QStringLiteral("/calls.log");

    // A stand-in that logs its name and arguments, then runs `body`.
    bool StandIn(const QString &path, const QByteArray &body = "exit 0") const
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write("#!/bin/sh\nprintf '%s\\n' \"${0##*/} $*\" >> '" + m_log.toUtf8() + "'\n" + body + '\n');
        file.close();
        return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

private slots:
    void runs_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("root");
        QTest::addColumn<bool>("sudo");
        QTest::addColumn<QString>("packages"); // "installed", "missing", or "no apt" (no dpkg, no apt-get)
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("called"); // log lines, in this order
        QTest::addColumn<QStringList>("notCalled"); // no log line contains one of these
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("failing"); // the stand-in call starting so exits with 1

        const QString configure = "cmake -S . -B build", program = "cmake --build build --target tavoret";
        QTest::newRow("run: the program alone, nothing to install")
            << "run" << true << false << "installed" << 0 << QStringList{configure, program, "tavoret --reverse"}
            << QStringList{"apt-get", "--target all", "xvfb", "lintian"} << "" << "";
        QTest::newRow("run as root: only what the program needs")
            << "run" << true << false << "missing" << 0
            << QStringList{"apt-get update", "apt-get install -y -qq --no-install-recommends cmake g++", program}
            << QStringList{"sudo", "xvfb", "lintian"} << "" << "";
        QTest::newRow("run through sudo")
            << "run" << false << true << "missing" << 0
            << QStringList{"sudo apt-get update", "sudo env DEBIAN_FRONTEND=noninteractive apt-get install", program}
            << QStringList{} << "" << "";
        QTest::newRow("neither root nor sudo: the line to run as root")
            << "run" << false << false << "missing" << 1 << QStringList{}
            << QStringList{"apt-get ", "cmake -S", "tavoret --reverse"}
            << "  apt-get install --no-install-recommends cmake g++ make pkg-config qt6-base-dev" << "";
        QTest::newRow("no apt: the libraries, then the build")
            << "run" << false << false << "no apt" << 0 << QStringList{configure, program, "tavoret"}
            << QStringList{"apt-get"} << "Qt 6 Widgets (6.4 or later), fontconfig" << "";
        QTest::newRow("test: everything, both builds")
            << "test" << true << false << "missing" << 0
            << QStringList{"apt-get install", "cmake --build build --target all", "ctest --test-dir build ",
                           "cmake -S . -B build-san -DTAVORET_SANITIZE=ON", "ctest --test-dir build-san",
                           "cmake --build build-san/fuzz --target fontfuzz", "fontfuzz -max_total_time=60"}
            << QStringList{"--target tavoret"} << "" << "";
        QTest::newRow("package: the program and its .deb")
            << "package" << true << false << "missing" << 0 << QStringList{"apt-get install", program, "cpack -G DEB"}
            << QStringList{"xvfb", "--target all"} << "" << "";
        QTest::newRow("unknown command: said, then the usage")
            << "bogus" << true << false << "missing" << 2 << QStringList{} << QStringList{"apt-get", "cmake"}
            << "dev.sh: unknown command: bogus\n# Set-up, build, run" << "";
        QTest::newRow("test: a failing step names what it left out")
            << "test" << true << false << "installed" << 1 << QStringList{"ctest --test-dir build-san"}
            << QStringList{"fontfuzz"}
            << "dev.sh: tests under the sanitizers failed; skipped: the fuzz run" << "ctest --test-dir build-san";
    }
    void runs()
    {
        QFETCH(QString, command);
        QFETCH(bool, root);
        QFETCH(bool, sudo);
        QFETCH(QString, packages);
        QFETCH(QStringList, called);
        QFETCH(QStringList, notCalled);
        QFETCH(QString, says);

        testsupport::resetDir(m_bin);
        testsupport::resetDir(m_project + QStringLiteral("/scripts"));
        testsupport::resetDir(m_project + QStringLiteral("/build"));
        testsupport::removePath(m_log);
        QVERIFY(QFile::copy(QStringLiteral(TAVORET_SOURCE_DIR "/scripts/dev.sh"), m_project + QStringLiteral("/scripts/dev.sh")));
        // The real tools the script uses besides the stand-ins.
        for (const char *tool : {"dirname", "grep", "nproc", "sed", "env", "mkdir"})
            QVERIFY(QFile::link(QStandardPaths::findExecutable(QLatin1String(tool)), m_bin + QLatin1Char('/') + tool));
        QVERIFY(StandIn(m_bin + QStringLiteral("/id"), root ? "echo 0" : "echo 1000"));
        if (sudo)
            QVERIFY(StandIn(m_bin + QStringLiteral("/sudo"), "exec \"$@\""));
        if (packages != QLatin1String("no apt")) {
            // "installed" answers as dpkg does for an installed package.
            QVERIFY(StandIn(m_bin + QStringLiteral("/dpkg-query"),
                            packages == QLatin1String("installed") ? "printf 'install ok installed'" : "exit 1"));
            QVERIFY(StandIn(m_bin + QStringLiteral("/apt-get")));
        }
        QFETCH(QString, failing);
        const QByteArray fails = failing.isEmpty() ? "exit 0"
                                                   : "case \"${0##*/} $*\" in \"" + failing.toUtf8() + "\"*) exit 1;; esac";
        for (const char *tool : {"cmake", "ctest", "cpack"})
            QVERIFY(StandIn(m_bin + QLatin1Char('/') + tool, fails));
        QVERIFY(StandIn(m_project + QStringLiteral("/build/tavoret")));
        testsupport::resetDir(m_project + QStringLiteral("/build-san/fuzz/fuzz"));
        QVERIFY(StandIn(m_project + QStringLiteral("/build-san/fuzz/fuzz/fontfuzz")));

        QProcess script;
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), m_bin);
        env.insert(QStringLiteral("HOME"), testsupport::homeDir());
        script.setProcessEnvironment(env);
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral("/bin/bash"),
                     {m_project + QStringLiteral("/scripts/dev.sh"), command, QStringLiteral("--reverse")});
        QVERIFY(script.waitForFinished(testsupport::Patience));
        const QString output = QString::fromUtf8(script.readAll());
        QFETCH(int, exitCode);
        QVERIFY2(script.exitCode() == exitCode, qPrintable(output));
        QVERIFY2(output.contains(says), qPrintable(output));

        const QStringList log = testsupport::ReadLines(m_log);
        const QString logText = log.join(QLatin1Char('\n'));
        int line = 0;
        for (const QString &call : std::as_const(called)) {
            while (line < log.size() && !log.at(line).startsWith(call))
                ++line;
            QVERIFY2(line < log.size(), qPrintable(call + QStringLiteral(" not called, in order, in:\n") + logText));
        }
        for (const QString &call : std::as_const(notCalled))
            QVERIFY2(!logText.contains(call), qPrintable(call + QStringLiteral(" called in:\n") + logText));
    }
};

QTEST_GUILESS_MAIN(TestDevScript)
#include "tst_devscript.moc"
