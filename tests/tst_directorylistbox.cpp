// The folder list and the drive selector: volume rules, the entries, moving by program, keyboard
// and mouse, remembered folders per volume, and folders or volumes that can't be entered.
#include "tdirectorylistbox.h"
#include "tdrivecombobox.h"
#include "testsupport.h"
#include "tfilelistbox.h"
#include "volumes.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using volumes::Volume;
using volumes::VolumeKind;
Q_DECLARE_METATYPE(volumes::VolumeKind)

namespace {

QStringList entries(const QListWidget &list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts << list.item(row)->text();
    return texts;
}

QPoint centreOf(const QListWidget &list, const QString &text)
{
    return list.visualItemRect(list.findItems(text, Qt::MatchExactly).value(0)).center();
}

QString currentText(const QListWidget &list)
{
    return list.currentItem() ? list.currentItem()->text() : QString();
}

} // namespace

class TestDirectoryListBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { m_errors.clear(); }

    void volumeIndexOf_data();
    void volumeIndexOf();
    void mountRules_data();
    void mountRules();

    void entriesOfNestedFolder();
    void setDirectory_data();
    void setDirectory();
    void enterAndDoubleClickMove();
    void eventsFromUserOnly();
    void folderThatCantBeEntered_data();
    void folderThatCantBeEntered();

    void remembersLastFolderPerVolume();
    void folderListChangesVolumeFirst();
    void volumeThatCantBeEntered();

private:
    QList<Volume> fakeVolumes() const;

    QString m_tree, m_mid;           // <scratch>/tree, <scratch>/tree/Top/Mid
    QString m_volA, m_volB, m_gone;  // mount points of made-up volumes; m_gone doesn't exist
    QStringList m_errors;
};

void TestDirectoryListBox::initTestCase()
{
    testsupport::resetDir(testsupport::homeDir());
    m_tree = testsupport::homeDir() + QStringLiteral("/tree");
    m_mid = m_tree + QStringLiteral("/Top/Mid");
    for (const char *sub : {"beta", "Alpha/inner", "gamma", ".dot"})
        QVERIFY(QDir().mkpath(m_mid + QLatin1Char('/') + QLatin1String(sub)));
    QVERIFY(QFile::link(m_mid + QStringLiteral("/beta"), m_mid + QStringLiteral("/link")));
    QFile file(m_mid + QStringLiteral("/f.ttf"));
    QVERIFY(file.open(QIODevice::WriteOnly));

    m_volA = testsupport::homeDir() + QStringLiteral("/volA");
    m_volB = testsupport::homeDir() + QStringLiteral("/volB");
    m_gone = testsupport::homeDir() + QStringLiteral("/gone");
    QVERIFY(QDir().mkpath(m_volA + QStringLiteral("/sub/deeper")));
    QVERIFY(QDir().mkpath(m_volB + QStringLiteral("/sub")));

    TDirectoryListBox::setErrorReporter([this](QWidget *, const QString &text) { m_errors << text; });
}

QList<Volume> TestDirectoryListBox::fakeVolumes() const
{
    return {{QStringLiteral("/"), QString(), VolumeKind::Fixed},
            {m_gone, QStringLiteral("DISC"), VolumeKind::Optical},
            {m_volA, QStringLiteral("STICK"), VolumeKind::Removable},
            {m_volB, QStringLiteral("nas:/export"), VolumeKind::Network}};
}

void TestDirectoryListBox::volumeIndexOf_data()
{
    QTest::addColumn<QStringList>("mountPoints");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("index");
    const QStringList mounts{"/", "/home", "/home/ann/usb", "/media/cd"};
    QTest::newRow("on root") << mounts << "/etc/fonts" << 0;
    QTest::newRow("mount point itself") << mounts << "/home" << 1;
    QTest::newRow("longest prefix wins") << mounts << "/home/ann/usb/fonts/a.ttf" << 2;
    QTest::newRow("whole components only") << mounts << "/homework" << 0;
    QTest::newRow("letter case counts") << mounts << "/Home/ann" << 0;
    QTest::newRow("relative path") << mounts << "home/ann" << -1;
    QTest::newRow("no root mounted") << QStringList{"/home"} << "/etc" << -1;
}

void TestDirectoryListBox::volumeIndexOf()
{
    QFETCH(QStringList, mountPoints);
    QFETCH(QString, path);
    QFETCH(int, index);
    QCOMPARE(volumes::volumeIndexOf(mountPoints, path), index);
}

void TestDirectoryListBox::mountRules_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<bool>("real");
    QTest::addColumn<VolumeKind>("kind");
    using K = VolumeKind;
    QTest::newRow("overlay root") << QByteArray("overlay") << "/" << QByteArray("overlay") << false << true << K::Fixed;
    QTest::newRow("proc") << QByteArray("proc") << "/proc" << QByteArray("proc") << false << false << K::Fixed;
    QTest::newRow("cgroup") << QByteArray("cgroup2") << "/sys/fs/cgroup" << QByteArray() << false << false << K::Fixed;
    QTest::newRow("tmpfs") << QByteArray("tmpfs") << "/tmp" << QByteArray("tmpfs") << false << false << K::Ram;
    QTest::newRow("snap") << QByteArray("squashfs") << "/snap/core/12" << QByteArray("/dev/loop3") << false << false
                          << K::Fixed;
    QTest::newRow("stick") << QByteArray("vfat") << "/run/media/ann/S" << QByteArray("/dev/sdb1") << true << true
                           << K::Removable;
    QTest::newRow("smb") << QByteArray("cifs") << "/mnt/nas" << QByteArray("//nas/share") << false << true << K::Network;
    QTest::newRow("disc") << QByteArray("iso9660") << "/media/cd" << QByteArray("/dev/sr0") << true << true << K::Optical;
    QTest::newRow("zram") << QByteArray("ext4") << "/mnt/z" << QByteArray("/dev/zram1") << false << true << K::Ram;
}

void TestDirectoryListBox::mountRules()
{
    QFETCH(QByteArray, type);
    QFETCH(QString, mountPoint);
    QFETCH(QByteArray, device);
    QFETCH(bool, removable);
    QFETCH(bool, real);
    QFETCH(VolumeKind, kind);
    QCOMPARE(volumes::isRealFileSystem(type, mountPoint), real);
    QCOMPARE(volumes::classifyVolume(type, device, removable), kind);
}

void TestDirectoryListBox::entriesOfNestedFolder()
{
    TDirectoryListBox list;
    QCOMPARE(list.directory(), QDir::currentPath());
    list.setDirectory(m_mid);

    // The path from the root with the current folder selected, then the sub-folders by name
    // ignoring case, linked ones too, dot-folders not.
    const QStringList chain = volumes::folderChain(m_mid);
    QStringList expected{QStringLiteral("/")};
    for (qsizetype i = 1; i < chain.size(); ++i)
        expected << QFileInfo(chain.at(i)).fileName();
    expected << QStringList{"Alpha", "beta", "gamma", "link"};
    QCOMPARE(entries(list), expected);
    const int current = int(chain.size()) - 1;
    QCOMPARE(list.selectedItems(), QList<QListWidgetItem *>{list.item(current)});
    QCOMPARE(list.folderAt(0), QStringLiteral("/"));
    QCOMPARE(list.folderAt(current - 1), m_tree + QStringLiteral("/Top"));
    QCOMPARE(list.folderAt(current + 1), m_mid + QStringLiteral("/Alpha"));
}

void TestDirectoryListBox::setDirectory_data()
{
    // Below <scratch>/tree unless `literal`; the list starts in Top/Mid.
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("literal");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("changes");
    QTest::newRow("folder") << "Top" << false << "Top" << 1;
    QTest::newRow("file gives its folder") << "Top/Mid/f.ttf" << false << "Top/Mid" << 0;
    QTest::newRow("untidy path") << "Top/Mid/beta/../gamma/./" << false << "Top/Mid/gamma" << 1;
    QTest::newRow("current folder") << "Top/Mid" << false << "Top/Mid" << 0;
    QTest::newRow("relative to the current folder") << "Alpha" << true << "Top/Mid/Alpha" << 1;
    QTest::newRow("empty") << "" << true << "Top/Mid" << 0;
}

void TestDirectoryListBox::setDirectory()
{
    QFETCH(QString, path);
    QFETCH(bool, literal);
    QFETCH(QString, expected);
    QFETCH(int, changes);

    TDirectoryListBox dirs;
    TFileListBox files;
    dirs.setDirectory(m_mid);
    dirs.setFileList(&files);
    QSignalSpy changed(&dirs, &TDirectoryListBox::directoryChanged);
    QSignalSpy clicks(&dirs, &TDirectoryListBox::Click);
    dirs.setDirectory(literal ? path : m_tree + QLatin1Char('/') + path);
    QCOMPARE(dirs.directory(), m_tree + QLatin1Char('/') + expected);
    QCOMPARE(files.directory(), dirs.directory());
    QCOMPARE(currentText(dirs), QFileInfo(dirs.directory()).fileName());
    QCOMPARE(changed.count(), changes);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(m_errors.isEmpty());
}

void TestDirectoryListBox::enterAndDoubleClickMove()
{
    QWidget window;
    auto *list = new TDirectoryListBox(&window);
    list->setGeometry(0, 0, 129, 400);
    list->setDirectory(m_mid);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    list->setFocus();

    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(currentText(*list), QStringLiteral("Alpha"));
    QCOMPARE(list->directory(), m_mid);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(list->directory(), m_mid + QStringLiteral("/Alpha"));

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centreOf(*list, QStringLiteral("Top")));
    QCOMPARE(list->directory(), m_tree + QStringLiteral("/Top"));
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(list->directory(), QStringLiteral("/"));
}

void TestDirectoryListBox::eventsFromUserOnly()
{
    QWidget window;
    auto *list = new TDirectoryListBox(&window);
    auto *other = new QLineEdit(&window);
    list->setGeometry(0, 0, 129, 300);
    other->setGeometry(0, 310, 100, 20);
    list->setDirectory(m_mid);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    other->setFocus();
    QSignalSpy clicks(list, &TDirectoryListBox::Click);
    QSignalSpy enters(list, &TDirectoryListBox::Enter);
    QSignalSpy exits(list, &TDirectoryListBox::Exit);
    QSignalSpy mouseUps(list, &TDirectoryListBox::MouseUp);

    // A right click leaves focus and selection alone; only its release is reported.
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, centreOf(*list, QStringLiteral("gamma")));
    QVERIFY(!list->hasFocus());
    QCOMPARE(currentText(*list), QStringLiteral("Mid"));
    QCOMPARE(enters.count() + clicks.count(), 0);
    QCOMPARE(mouseUps.count(), 1);
    QCOMPARE(mouseUps.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);

    // A left click takes the focus and the selection, not the folder; so do keys.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(*list, QStringLiteral("gamma")));
    QVERIFY(list->hasFocus());
    QCOMPARE(list->directory(), m_mid);
    QCOMPARE(enters.count(), 1);
    QCOMPARE(clicks.count(), 1);
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_G); // the next entry with that initial
    QCOMPARE(currentText(*list), QStringLiteral("gamma"));
    QCOMPARE(clicks.count(), 3);
    list->setDirectory(m_mid + QStringLiteral("/beta"));
    QCOMPARE(clicks.count(), 3);

    // Another window coming to the front and going again is neither exit nor enter.
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(list, &away);
    QCoreApplication::sendEvent(list, &back);
    QCOMPARE(exits.count(), 0);
    other->setFocus();
    QCOMPARE(exits.count(), 1);
    QCOMPARE(enters.count(), 1);
}

void TestDirectoryListBox::folderThatCantBeEntered_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing folder") << "Top/none" << qt_error_string(ENOENT);
    QTest::newRow("below a file") << "Top/Mid/f.ttf/x" << qt_error_string(ENOTDIR);
}

void TestDirectoryListBox::folderThatCantBeEntered()
{
    QFETCH(QString, path);
    QFETCH(QString, error);
    TDirectoryListBox dirs;
    TFileListBox files;
    dirs.setFileList(&files);
    dirs.setDirectory(m_mid);
    const QStringList before = entries(dirs);

    const QString target = m_tree + QLatin1Char('/') + path;
    dirs.setDirectory(target);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.at(0).startsWith(QStringLiteral("I/O error")), qPrintable(m_errors.at(0)));
    QVERIFY(m_errors.at(0).contains(error) && m_errors.at(0).contains(target));
    QCOMPARE(dirs.directory(), m_mid);
    QCOMPARE(files.directory(), m_mid);
    QCOMPARE(entries(dirs), before);
    QVERIFY(dirs.enterFolder(m_mid + QStringLiteral("/gamma"))); // still usable
    QCOMPARE(files.directory(), m_mid + QStringLiteral("/gamma"));
}

void TestDirectoryListBox::remembersLastFolderPerVolume()
{
    TDriveComboBox drive;
    QCOMPARE(drive.drive(), drive.volumeOf(QDir::currentPath()));
    drive.setVolumeSource([this] { return fakeVolumes(); });
    QCOMPARE(drive.itemText(3), m_volB + QStringLiteral(" [nas:/export]"));
    QVERIFY(!drive.itemIcon(1).isNull());
    // The current folder lies on "/" here, and that volume remembers it.
    QCOMPARE(drive.currentText(), QStringLiteral("/"));
    QCOMPARE(drive.lastFolderOn(QStringLiteral("/")), QDir::currentPath());
    TDirectoryListBox dirs;
    drive.setDirList(&dirs);

    drive.setDrive(m_volA);
    QCOMPARE(dirs.directory(), m_volA);
    QVERIFY(dirs.enterFolder(m_volA + QStringLiteral("/sub")));
    drive.setDrive(m_volB);
    QCOMPARE(dirs.directory(), m_volB);
    const int volA = drive.findData(m_volA);
    drive.setCurrentIndex(volA);
    emit drive.activated(volA); // picked by the user
    QCOMPARE(dirs.directory(), m_volA + QStringLiteral("/sub"));
    drive.setDrive(QStringLiteral("/"));
    QCOMPARE(dirs.directory(), QDir::currentPath());

    // The volume shown already: nothing moves.
    dirs.setDirectory(m_volA + QStringLiteral("/sub/deeper"));
    QSignalSpy changed(&dirs, &TDirectoryListBox::directoryChanged);
    drive.setDrive(m_volA);
    emit drive.activated(volA);
    QCOMPARE(changed.count(), 0);

    // A remembered folder that vanished gives way to its nearest parent.
    drive.setDrive(m_volB);
    QVERIFY(QDir(m_volA + QStringLiteral("/sub")).removeRecursively());
    drive.setDrive(m_volA);
    QCOMPARE(dirs.directory(), m_volA);
    QVERIFY(QDir().mkpath(m_volA + QStringLiteral("/sub/deeper")));
    QVERIFY(m_errors.isEmpty());
}

void TestDirectoryListBox::folderListChangesVolumeFirst()
{
    TDriveComboBox drive;
    drive.setVolumeSource([this] { return fakeVolumes(); });
    TDirectoryListBox dirs;
    drive.setDirList(&dirs);
    dirs.setDirectory(m_volA + QStringLiteral("/sub"));
    dirs.setDirectory(m_tree);
    QCOMPARE(drive.drive(), QStringLiteral("/"));

    // Through the folder last shown on the volume to the folder asked for.
    QSignalSpy changed(&dirs, &TDirectoryListBox::directoryChanged);
    dirs.setDirectory(m_volA + QStringLiteral("/sub/deeper"));
    QCOMPARE(drive.drive(), m_volA);
    QCOMPARE(dirs.directory(), m_volA + QStringLiteral("/sub/deeper"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(0).toString(), m_volA + QStringLiteral("/sub"));

    // Walking the folder list onto another volume takes the selector along.
    QVERIFY(dirs.enterFolder(m_volB));
    QCOMPARE(drive.drive(), m_volB);
    QCOMPARE(drive.currentIndex(), drive.findData(m_volB));
}

void TestDirectoryListBox::volumeThatCantBeEntered()
{
    TDriveComboBox drive;
    drive.setVolumeSource([this] { return fakeVolumes(); });
    TDirectoryListBox dirs;
    TFileListBox files;
    drive.setDirList(&dirs);
    dirs.setFileList(&files);
    dirs.setDirectory(m_volA + QStringLiteral("/sub"));

    const int gone = drive.findData(m_gone);
    drive.setCurrentIndex(gone);
    emit drive.activated(gone);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.at(0).startsWith(QStringLiteral("I/O error")), qPrintable(m_errors.at(0)));
    QVERIFY(m_errors.at(0).contains(m_gone));
    QCOMPARE(files.directory(), m_volA + QStringLiteral("/sub"));
    QCOMPARE(drive.drive(), m_volA); // back on the folder list's volume
    QCOMPARE(drive.currentIndex(), drive.findData(m_volA));
    drive.setDrive(m_volB);
    QCOMPARE(dirs.directory(), m_volB);
    QCOMPARE(m_errors.size(), 1);
}

QTEST_MAIN(TestDirectoryListBox)
#include "tst_directorylistbox.moc"
