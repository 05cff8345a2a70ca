// Copying into the fonts folder without overwriting, and opening a folder through the real
// xdg-open with a logging handler set up by the test.
#include "platform/filecopy.h"
#include "platform/shell.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <sys/stat.h>

using platform::CopyResult;

class TestFileCopy : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void copy_data();
    void copy();
    void openFolderPassesOnePlainArgument_data();
    void openFolderPassesOnePlainArgument();

private:
    static void Write(const QString &path, const QByteArray &data);
    static QByteArray Read(const QString &path);
    QString m_dir;
};

Q_DECLARE_METATYPE(CopyResult)

void TestFileCopy::init()
{
    m_dir = testsupport::homeDir() + QStringLiteral("/copy");
    testsupport::resetDir(m_dir);
    QDir().mkpath(m_dir + QStringLiteral("/fonts"));
    Write(m_dir + QStringLiteral("/src.ttf"), QByteArray(200000, 'S'));
}

void TestFileCopy::Write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray TestFileCopy::Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestFileCopy::copy_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<CopyResult>("result");
    QTest::addColumn<QByteArray>("targetAfter");
    const QByteArray copied(200000, 'S');
    QTest::newRow("new file, readable by all") << "" << "src.ttf" << "fonts/src.ttf" << CopyResult::Copied << copied;
    QTest::newRow("name with blanks") << "" << "src.ttf" << "fonts/a b;c.ttf" << CopyResult::Copied << copied;
    QTest::newRow("target exists") << "existing" << "src.ttf" << "fonts/src.ttf" << CopyResult::TargetExists
                                   << QByteArray("old bytes");
    QTest::newRow("dangling link at target") << "dangling" << "src.ttf" << "fonts/src.ttf"
                                             << CopyResult::TargetExists << QByteArray();
    QTest::newRow("source vanished") << "" << "gone.ttf" << "fonts/gone.ttf" << CopyResult::Failed << QByteArray();
    QTest::newRow("source is a folder") << "" << "fonts" << "fonts/fonts2" << CopyResult::Failed << QByteArray();
    QTest::newRow("folder missing") << "" << "src.ttf" << "nofolder/src.ttf" << CopyResult::Failed << QByteArray();
    QTest::newRow("folder is a file") << "" << "src.ttf" << "src.ttf/x.ttf" << CopyResult::Failed << QByteArray();
    // As on a file system with shorter names: the copy cannot be linked under the target's name.
    QTest::newRow("name too long") << "" << "src.ttf" << "fonts/" + QString(300, 'n') + ".ttf" << CopyResult::Failed
                                   << QByteArray();
}

void TestFileCopy::copy()
{
    QFETCH(QString, setup);
    QFETCH(QString, source);
    QFETCH(QString, target);
    const QString targetPath = m_dir + QLatin1Char('/') + target;
    if (setup == QLatin1String("existing"))
        Write(targetPath, "old bytes");
    else if (setup == QLatin1String("dangling"))
        QVERIFY(QFile::link(m_dir + QStringLiteral("/nowhere"), targetPath));

    QTEST(platform::copyFileNoOverwrite(m_dir + QLatin1Char('/') + source, targetPath), "result");
    QTEST(Read(targetPath), "targetAfter");
    QFETCH(CopyResult, result);
    struct stat info;
    if (result == CopyResult::Copied) // as an installed font is: other users' programs read it too
        QVERIFY(::stat(QFile::encodeName(targetPath).constData(), &info) == 0 && (info.st_mode & 0777) == 0644);
    QCOMPARE(Read(m_dir + QStringLiteral("/src.ttf")), QByteArray(200000, 'S'));
    // Nothing but the target is left in the folder: no temporary or partial file.
    const QStringList left = QDir(m_dir + QStringLiteral("/fonts")).entryList(QDir::Files | QDir::Hidden | QDir::System);
    QVERIFY2(left.size() <= 1, qPrintable(left.join(QLatin1Char(','))));
}

void TestFileCopy::openFolderPassesOnePlainArgument_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "fonts";
    QTest::newRow("blanks and shell characters") << "my fonts;$(touch pwned)'\"";
}

void TestFileCopy::openFolderPassesOnePlainArgument()
{
    QFETCH(QString, name);
    const QString log = m_dir + QStringLiteral("/opened.log");
    testsupport::InstallFolderOpenerLog(log);
    const QString folder = m_dir + QLatin1Char('/') + name;
    QVERIFY(QDir().mkpath(folder));
    bool failed = false;
    platform::openFolder(folder, this, [&failed] { failed = true; });
    QTRY_COMPARE_WITH_TIMEOUT(testsupport::ReadLines(log), QStringList{folder}, testsupport::Patience);
    QTRY_VERIFY_WITH_TIMEOUT(testsupport::noChildProcessRuns(), testsupport::Patience); // xdg-open ended
    QVERIFY(!failed);
    QVERIFY(!QFile::exists(m_dir + QStringLiteral("/pwned")));
    QVERIFY(!QFile::exists(QStringLiteral("pwned")));
}

QTEST_GUILESS_MAIN(TestFileCopy)
#include "tst_filecopy.moc"
