// File names that are not valid UTF-8: kept to the byte from the system to the program and
// back, shown with U+FFFD, and found in a folder listing and through a file: URL.
#include "platform/filenames.h"
#include "testsupport.h"

#include <QUrl>
#include <QtTest>

#include <sys/stat.h>

class TestFileNames : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ASCII") << QByteArray("Alpha.ttf") << "Alpha.ttf";
        QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9.ttf") << QStringLiteral("caf\u00e9.ttf");
        QTest::newRow("outside the BMP") << QByteArray("\xf0\x9f\x98\x80.ttf") << QStringLiteral("\U0001F600.ttf");
        QTest::newRow("outside the BMP, low half in the kept range") << QByteArray("\xf0\x9f\x92\xa9.ttf")
                                                                    << QStringLiteral("\U0001F4A9.ttf");
        QTest::newRow("Latin-1") << QByteArray("caf\xe9.ttf") << QStringLiteral("caf\ufffd.ttf");
        QTest::newRow("cut sequence at the end") << QByteArray("a\xe2\x82") << QStringLiteral("a\ufffd\ufffd");
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QStringLiteral("\ufffd\ufffd");
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xb2\x80") << QStringLiteral("\ufffd\ufffd\ufffd");
        QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << QStringLiteral("\ufffd\ufffd\ufffd\ufffd");
        QTest::newRow("all high bytes") << QByteArray("\x80\xbf\xfe\xff") << QStringLiteral("\ufffd\ufffd\ufffd\ufffd");
    }
    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        const QString name = platform::decodeName(bytes);
        QCOMPARE(platform::encodeName(name), bytes);
        QTEST(platform::displayName(name), "shown");
        // A file: URL, its bytes percent-encoded, names the same file.
        const QUrl url(QStringLiteral("file:///tmp/") + QString::fromLatin1(bytes.toPercentEncoding()));
        QCOMPARE(platform::encodeName(platform::localFileName(url)), "/tmp/" + bytes);
    }

    // A name that is not valid UTF-8 is listed, and a file and a folder of such names open.
    void listedAndOpened()
    {
        const QString home = testsupport::homeDir() + "/names";
        const QByteArray folder = QFile::encodeName(home) + "/d\xe9j\xe0";
        testsupport::resetDir(home);
        QVERIFY(QDir().mkpath(home + "/sub"));
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        QVERIFY(testsupport::CopyToRawName("files/TavoretAlpha.ttf", folder + "/caf\xe9.ttf"));
        QCOMPARE(platform::folderEntries(home, platform::EntryKind::Folders),
                 (QStringList{platform::decodeName("d\xe9j\xe0"), "sub"}));
        const QString inside = platform::decodeName(folder);
        QCOMPARE(platform::folderEntries(inside, platform::EntryKind::Files),
                 QStringList{platform::decodeName("caf\xe9.ttf")});
        QVERIFY(platform::isFolder(inside));
        QVERIFY(platform::isFile(inside + platform::decodeName("/caf\xe9.ttf")));
        QCOMPARE(platform::readRegularFile(inside + platform::decodeName("/caf\xe9.ttf"), 1 << 20).size(),
                 QFileInfo(testsupport::fontPath("files/TavoretAlpha.ttf")).size());
    }
};

QTEST_GUILESS_MAIN(TestFileNames)
#include "tst_filenames.moc"
