// Drive selector, folder list and file list: path rules, listings, moves, file names, clicks.
#include "platform/filenames.h"
#include "browser/folderbrowser.h"
#include "browser/tdirectorylistbox.h"
#include "browser/tdrivecombobox.h"
#include "testsupport.h"
#include "browser/tfilelistbox.h"
#include "virtualkeycode.h"
#include "platform/paths.h"
#include "platform/volumes.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

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

// A shown window with a line edit, a folder list on `folder` and its file list of "*.ttf";
// `errors` keeps the folder list's reports.
struct Window : QWidget
{
    FolderBrowser browser;
    QLineEdit *other = new QLineEdit(this);
    TDirectoryListBox *dirs = new TDirectoryListBox(this);
    TFileListBox *files = new TFileListBox(this);
    QStringList errors;
    explicit Window(const QString &folder)
    {
        connect(dirs, &TDirectoryListBox::folderError, this, [this](const QString &text) { errors << text; });
        files->setFileMask("*.ttf");
        dirs->setBrowser(&browser);
        files->setBrowser(&browser);
        dirs->setDirectory(folder);
        dirs->setGeometry(0, 30, 129, 500);
        files->setGeometry(130, 30, 129, 500);
        show();
    }
};

} // namespace

class TestBrowserLists : public QObject
{
    Q_OBJECT
    const QString m_root = testsupport::homeDir() + "/browse", m_a = m_root + "/A", m_mid = m_root + "/tree/Top/Mid";

private slots:
    void initTestCase()
    {
        testsupport::resetDir(m_root);
        for (const char *sub : {"A/x.ttf", "B", "tree/Top/Mid/beta", "tree/Top/Mid/Alpha/inner",
                                "tree/Top/Mid/gamma", "tree/Top/Mid/.dot", "volA/sub/deeper", "volB"})
            QVERIFY(QDir(m_root).mkpath(sub));
        for (const char *name : {"A/Demo.TTF", "A/a.ttf", "A/r.ttf", "A/.h.ttf", "A/notes.txt", "B/Other.ttf",
                                 "tree/Top/Mid/f.ttf"})
            QVERIFY2(QFile(m_root + '/' + name).open(QIODevice::WriteOnly), name);
        QVERIFY(QFile::setPermissions(m_a + "/r.ttf", QFile::ReadOwner | QFile::ReadOther));
        QVERIFY(QFile::link(m_a + "/a.ttf", m_a + "/link.ttf"));
        QVERIFY(QFile::link(m_a + "/gone.ttf", m_a + "/dead.ttf"));
        QVERIFY(QFile::link(m_mid + "/beta", m_mid + "/link"));
    }

    void volumeIndexOf_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("index"); // in {"/", "/home", "/home/ann/usb", "/media/cd"}
        QTest::newRow("on root") << "/etc/fonts" << 0;
        QTest::newRow("mount point itself") << "/home" << 1;
        QTest::newRow("longest prefix wins") << "/home/ann/usb/fonts/a.ttf" << 2;
        QTest::newRow("whole components only") << "/homework" << 0;
        QTest::newRow("letter case counts") << "/Home/ann" << 0;
        QTest::newRow("relative path") << "home/ann" << -1;
    }
    void volumeIndexOf()
    {
        QFETCH(QString, path);
        QFETCH(int, index);
        QCOMPARE(platform::volumeIndexOf({"/", "/home", "/home/ann/usb", "/media/cd"}, path), index);
    }

    void virtualKeyCode_data()
    {
        QTest::addColumn<int>("key"); // with its modifiers
        QTest::addColumn<int>("code");
        QTest::newRow("left") << int(Qt::Key_Left) << 37;
        QTest::newRow("keypad down") << (Qt::KeypadModifier | Qt::Key_Down).toCombined() << 40;
        QTest::newRow("A") << int(Qt::Key_A) << 65;
        QTest::newRow("keypad 5") << (Qt::KeypadModifier | Qt::Key_5).toCombined() << 101;
        QTest::newRow("shifted 1") << (Qt::ShiftModifier | Qt::Key_Exclam).toCombined() << 49;
        QTest::newRow("keypad comma") << (Qt::KeypadModifier | Qt::Key_Comma).toCombined() << 0x6E;
        QTest::newRow("keypad home") << (Qt::KeypadModifier | Qt::Key_Home).toCombined() << 36;
        QTest::newRow("F1") << int(Qt::Key_F1) << 112;
        QTest::newRow("comma") << int(Qt::Key_Comma) << 0xBC;
        QTest::newRow("unknown") << int(Qt::Key_Adiaeresis) << 0;
    }
    void virtualKeyCode()
    {
        QFETCH(int, key);
        QFETCH(int, code);
        const Qt::KeyboardModifiers modifiers(key & Qt::KeyboardModifierMask);
        QCOMPARE(keys::virtualKeyCode(key & ~Qt::KeyboardModifierMask, modifiers), code);
    }

    // The browser on its own: where a move ends, which volume shows, and how often the views
    // are told to read a folder. Paths are below the scratch folder; "" stands for it.
    void browserMoves_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("move");   // "drive:" + a path for setDrive, else setDirectory
        QTest::addColumn<QStringList>("volumes"); // mount points besides "/"
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("drive");   // "/" for the root volume
        QTest::addColumn<int>("reads");
        QTest::addColumn<int>("errors");
        const QStringList none, two{"volA", "volB"};
        QTest::newRow("same volume") << "tree/Top/Mid" << "A" << none << "A" << "/" << 1 << 0;
        QTest::newRow("other volume, read once") << "tree/Top/Mid" << "volA/sub" << two << "volA/sub" << "volA" << 1 << 0;
        QTest::newRow("a file stands for its folder") << "A" << "tree/Top/Mid/f.ttf" << none << "tree/Top/Mid" << "/" << 1 << 0;
        QTest::newRow("relative to the current folder") << "tree" << "Top/Mid" << none << "tree/Top/Mid" << "/" << 1 << 0;
        QTest::newRow("current folder") << "A" << "A" << none << "A" << "/" << 0 << 0;
        QTest::newRow("missing on another volume") << "A" << "volA/none" << two << "A" << "/" << 0 << 1;
        QTest::newRow("drive: its last folder") << "volB" << "drive:volA" << two << "volA" << "volA" << 1 << 0;
        QTest::newRow("drive: the one shown") << "volA/sub" << "drive:volA/sub/deeper" << two << "volA/sub" << "volA" << 0 << 0;
        QTest::newRow("drive: none holds the path") << "A" << "drive:relative" << two << "A" << "/" << 0 << 0;
    }
    void browserMoves()
    {
        QFETCH(QString, start);
        QFETCH(QString, move);
        QFETCH(QStringList, volumes);
        QFETCH(QString, folder);
        QFETCH(QString, drive);
        QFETCH(int, reads);
        QFETCH(int, errors);
        const auto full = [this](const QString &path) { return path == "/" ? path : m_root + '/' + path; };
        QList<platform::Volume> mounted{{"/", "", platform::VolumeKind::Fixed}};
        for (const QString &mountPoint : volumes)
            mounted.append({full(mountPoint), "", platform::VolumeKind::Removable});
        FolderBrowser browser;
        browser.setVolumeSource([mounted] { return mounted; });
        QVERIFY(browser.enterFolder(full(start)));
        QSignalSpy read(&browser, &FolderBrowser::folderChanged), failed(&browser, &FolderBrowser::folderError);
        if (move.startsWith("drive:"))
            browser.setDrive(move.mid(6) == "relative" ? move.mid(6) : full(move.mid(6)));
        else
            browser.setDirectory(move.startsWith("Top") ? move : full(move));
        QCOMPARE(browser.folder(), full(folder));
        QCOMPARE(browser.drive(), full(drive));
        QCOMPARE(read.count(), reads);
        QCOMPARE(failed.count(), errors);
    }

    void fileListEntries()
    {
        Window w(m_a);
        // Sorted ignoring case; no dot-files, folders, dangling links or other extensions.
        QCOMPARE(entries(*w.files), QStringList({"a.ttf", "Demo.TTF", "link.ttf", "r.ttf"}));
        QCOMPARE(w.files->FileName(), QString());
        w.files->setCurrentRow(1);
        QCOMPARE(w.files->FileName(), m_a + "/Demo.TTF");
        QCOMPARE(platform::joinPath("/", "x.ttf"), "/x.ttf"); // in the root folder
        // A file newer than the listing is found by name, and the mask stays.
        QVERIFY(QFile(m_a + "/fresh.ttf").open(QIODevice::WriteOnly));
        w.files->setFileName(m_a + "/fresh.ttf");
        QCOMPARE(w.files->FileName(), m_a + "/fresh.ttf");
        QCOMPARE(w.files->fileMask(), "*.ttf");
        QVERIFY(testsupport::removePath(m_a + "/fresh.ttf"));
    }

    // Names that differ only in letter case are listed in one order, whatever the folder's.
    void caseOnlyDifferences_data()
    {
        QTest::addColumn<bool>("folders");
        QTest::newRow("file list") << false;
        QTest::newRow("folder list") << true;
    }
    void caseOnlyDifferences()
    {
        QFETCH(bool, folders);
        const QString folder = m_root + "/case";
        testsupport::resetDir(folder);
        const QStringList names{"ABC.ttf", "ABc.ttf", "AbC.ttf", "Abc.ttf", "aBC.ttf", "aBc.ttf", "abC.ttf", "abc.ttf"};
        for (const QString &name : names)
            QVERIFY(folders ? QDir(folder).mkdir(name) : QFile(folder + '/' + name).open(QIODevice::WriteOnly));
        Window w(folder);
        QCOMPARE(entries(folders ? static_cast<QListWidget &>(*w.dirs) : *w.files).mid(folders ? w.dirs->count() - 8 : 0),
                 names);
    }

    // Names that are not valid UTF-8 are listed, shown with U+FFFD, entered and selected by
    // their real bytes.
    void namesThatAreNotUtf8()
    {
        const QByteArray folder = QFile::encodeName(m_root) + "/raw/d\xe9j\xe0";
        QVERIFY(QDir().mkpath(QFile::decodeName(folder.left(folder.lastIndexOf('/')))));
        QVERIFY(QDir().mkpath(m_root + "/raw/Zed"));
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        QVERIFY(testsupport::CopyToRawName("files/TavoretAlpha.ttf", folder + "/caf\xe9.ttf"));
        Window w(m_root + "/raw");
        const int first = w.dirs->count() - 2; // the sub-folders follow the path down to "raw"
        QCOMPARE(entries(*w.dirs).mid(first), (QStringList{QStringLiteral("d\ufffdj\ufffd"), "Zed"}));
        QVERIFY(w.dirs->enterFolder(w.dirs->folderAt(first)));
        QCOMPARE(entries(*w.files), QStringList{QStringLiteral("caf\ufffd.ttf")});
        w.files->setCurrentRow(0);
        const QString file = w.files->FileName();
        QCOMPARE(platform::encodeName(file), folder + "/caf\xe9.ttf");
        w.files->setFileName(QString());
        w.files->setFileName(file);
        QCOMPARE(w.files->FileName(), file);
        QCOMPARE(w.errors, QStringList());
    }

    void selection_data()
    {
        // Below the scratch folder. In A with `start` selected, `applied` is set by program or
        // `key` pressed; `expected` is the file selected after, or "folder/" with none.
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("applied");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("clicks");
        QTest::newRow("same folder") << "" << "A/a.ttf" << 0 << "A/a.ttf" << "*.ttf" << 0;
        QTest::newRow("letter case differs") << "" << "A/DEMO.ttf" << 0 << "A/Demo.TTF" << "*.ttf" << 0;
        QTest::newRow("other folder") << "A/a.ttf" << "B/Other.ttf" << 0 << "B/Other.ttf" << "*.ttf" << 0;
        QTest::newRow("mask hides the file") << "" << "A/notes.txt" << 0 << "A/notes.txt" << "notes.txt" << 0;
        QTest::newRow("missing file elsewhere") << "A/a.ttf" << "B/missing.ttf" << 0 << "B/" << "*.ttf" << 0;
        QTest::newRow("dot-file keeps the mask") << "" << "A/.h.ttf" << 0 << "A/" << "*.ttf" << 0;
        QTest::newRow("folder named like a font") << "" << "A/x.ttf" << 0 << "A/" << "*.ttf" << 0;
        QTest::newRow("missing folder") << "A/a.ttf" << "none/a.ttf" << 0 << "A/" << "*.ttf" << 0;
        QTest::newRow("down selects the first") << "" << "" << int(Qt::Key_Down) << "A/a.ttf" << "*.ttf" << 1;
        QTest::newRow("left steps up") << "A/r.ttf" << "" << int(Qt::Key_Left) << "A/link.ttf" << "*.ttf" << 1;
        QTest::newRow("up at the top") << "A/a.ttf" << "" << int(Qt::Key_Up) << "A/a.ttf" << "*.ttf" << 0;
        QTest::newRow("initial letter") << "A/a.ttf" << "" << int(Qt::Key_R) << "A/r.ttf" << "*.ttf" << 1;
    }
    void selection()
    {
        QFETCH(QString, start);
        QFETCH(QString, applied);
        QFETCH(int, key);
        QFETCH(QString, expected);
        QFETCH(QString, mask);
        QFETCH(int, clicks);
        const auto full = [this](const QString &name) { return name.isEmpty() ? name : m_root + '/' + name; };
        Window w(m_a);
        w.files->setFileName(full(start));
        QSignalSpy spy(w.files, &TFileListBox::Click);
        if (key)
            QTest::keySequence(w.files, QKeySequence(key));
        else
            w.files->setFileName(full(applied));
        const QFileInfo info(full(expected));
        QCOMPARE(w.files->FileName(), info.fileName().isEmpty() ? QString() : info.filePath());
        QCOMPARE(w.dirs->directory(), info.path());
        QCOMPARE(w.files->fileMask(), mask);
        QCOMPARE(w.errors.size(), applied.startsWith("none") ? 1 : 0);
        QCOMPARE(spy.count(), clicks); // a key counts, selecting by program does not
    }

    void mouseClicks_data()
    {
        QTest::addColumn<bool>("inFolderList");
        QTest::addColumn<QString>("entry");
        QTest::newRow("folder list") << true << "gamma";
        QTest::newRow("file list") << false << "Demo.TTF";
    }
    void mouseClicks()
    {
        QFETCH(bool, inFolderList);
        QFETCH(QString, entry);
        Window w(inFolderList ? m_mid : m_a);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QListWidget *list = inFolderList ? static_cast<QListWidget *>(w.dirs) : w.files;
        QWidget *view = list->viewport();
        w.other->setFocus();
        QSignalSpy clicks(list, SIGNAL(Click()));
        const QList<QListWidgetItem *> before = list->selectedItems();
        // A right click leaves focus and selection alone.
        QTest::mouseClick(view, Qt::RightButton, {}, centreOf(*list, entry));
        QVERIFY(!list->hasFocus());
        QCOMPARE(list->selectedItems(), before);
        QCOMPARE(clicks.count(), 0);
        // A left click takes both, entering no folder; one with Ctrl or beside the entries doesn't.
        QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(*list, entry));
        QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, centreOf(*list, entry));
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(20, view->height() - 3));
        QVERIFY(list->hasFocus());
        QCOMPARE(list->selectedItems().value(0)->text(), entry);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(w.dirs->directory(), inFolderList ? m_mid : m_a);
    }

    void folderListMoves()
    {
        Window w(m_mid + "/f.ttf"); // a file stands for its folder
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // The root, the path down to the current folder (selected), its sub-folders sorted.
        const QStringList texts = entries(*w.dirs);
        const int current = int(platform::folderChain(m_mid).size()) - 1;
        QCOMPARE(texts.mid(0, 1) + texts.mid(current - 2),
                 QStringList({"/", "tree", "Top", "Mid", "Alpha", "beta", "gamma", "link"}));
        QCOMPARE(w.dirs->selectedItems(), QList<QListWidgetItem *>{w.dirs->item(current)});
        // Another window coming to the front is no exit.
        w.dirs->setFocus();
        QSignalSpy exits(w.dirs, &TDirectoryListBox::Exit);
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(w.dirs, &away);
        QCOMPARE(exits.count(), 0);
        // Enter and a double click move to a folder; selecting does not.
        QTest::keyClick(w.dirs, Qt::Key_Down);
        QCOMPARE(w.files->directory(), m_mid);
        QTest::keyClick(w.dirs, Qt::Key_Return);
        QCOMPARE(w.files->directory(), m_mid + "/Alpha");
        QTest::mouseDClick(w.dirs->viewport(), Qt::LeftButton, {}, centreOf(*w.dirs, "Top"));
        QCOMPARE(w.files->directory(), m_root + "/tree/Top");
        QTest::keyClick(w.dirs, Qt::Key_Home);
        QTest::keyClick(w.dirs, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(w.dirs->directory(), "/");
    }

    void driveSelector()
    {
        const QString volA = m_root + "/volA", volB = m_root + "/volB", gone = m_root + "/gone";
        TDriveComboBox drive;
        using K = platform::VolumeKind;
        const QList<platform::Volume> mounted{{"/", "", K::Fixed}, {gone, "", K::Optical}, {volA, "STICK", K::Removable},
                                             {volB, "", K::Network}};
        Window w(m_mid);
        w.browser.setVolumeSource([mounted] { return mounted; });
        drive.setBrowser(&w.browser);
        // A missing folder, one below a file, a volume not there: reported, and nothing moves.
        w.dirs->setDirectory(m_mid + "/none");
        w.dirs->setDirectory(m_mid + "/f.ttf/x");
        drive.setCurrentIndex(1);
        emit drive.activated(1);
        using platform::ioErrorText;
        QCOMPARE(w.errors, QStringList({ioErrorText(m_mid + "/none", ENOENT), ioErrorText(m_mid + "/f.ttf/x", ENOTDIR),
                                         ioErrorText(gone, ENOENT)}));
        QVERIFY(w.errors.at(0).startsWith("I/O error"));
        QCOMPARE(w.dirs->currentItem()->text(), "Mid");
        QCOMPARE(w.files->directory(), m_mid);
        QCOMPARE(drive.currentText(), "/");
        // All go on working; a volume picked again shows its last folder, or the nearest parent.
        w.dirs->setDirectory(volA + "/sub/deeper");
        QCOMPARE(drive.currentText(), volA + " [STICK]");
        drive.setDrive(volB);
        QCOMPARE(w.files->directory(), volB);
        QVERIFY(testsupport::removePath(volA + "/sub/deeper"));
        emit drive.activated(2); // picked by the user
        QCOMPARE(w.files->directory(), volA + "/sub");
        QCOMPARE(w.errors.size(), 3);
    }
};

QTEST_MAIN(TestBrowserLists)
#include "tst_browserlists.moc"
