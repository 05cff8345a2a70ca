// The file list: what it lists, FileName, applying a full file name, and which user actions
// count as a click.
#include "tdirectorylistbox.h"
#include "testsupport.h"
#include "tfilelistbox.h"
#include "volumes.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

QStringList entries(const QListWidget &list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts << list.item(row)->text();
    return texts;
}

} // namespace

class TestFileListBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { m_errors.clear(); }

    void joinPath_data();
    void joinPath();
    void matchesMask_data();
    void matchesMask();
    void virtualKeyCode_data();
    void virtualKeyCode();

    void listsMatchingFilesSorted();
    void readsOnlyOnChangeOfFolder();
    void setFileName_data();
    void setFileName();
    void keyboardClicks_data();
    void keyboardClicks();
    void mouseClicks();
    void keyUpAndFocusByProgram();

private:
    QString m_root, m_a, m_b; // scratch folder and its listing folders A and B
    QStringList m_errors;
};

void TestFileListBox::initTestCase()
{
    m_root = testsupport::homeDir() + QStringLiteral("/filelist");
    testsupport::resetDir(m_root);
    m_a = m_root + QStringLiteral("/A");
    m_b = m_root + QStringLiteral("/B");
    QVERIFY(QDir().mkpath(m_a + QStringLiteral("/x.ttf"))); // a folder, not a file
    QVERIFY(QDir().mkpath(m_b));
    for (const char *name : {"Demo.TTF", "a.ttf", "r.ttf", ".h.ttf", "notes.txt", "Pair.TTC"})
        touch(m_a + QLatin1Char('/') + QLatin1String(name));
    QVERIFY(QFile::setPermissions(m_a + QStringLiteral("/r.ttf"), QFile::ReadOwner | QFile::ReadOther));
    QVERIFY(QFile::link(m_a + QStringLiteral("/a.ttf"), m_a + QStringLiteral("/link.ttf")));
    QVERIFY(QFile::link(m_a + QStringLiteral("/gone.ttf"), m_a + QStringLiteral("/dead.ttf")));
    touch(m_b + QStringLiteral("/Other.ttf"));
    TDirectoryListBox::setErrorReporter([this](QWidget *, const QString &text) { m_errors << text; });
}

void TestFileListBox::joinPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("root folder") << "/" << "x.ttf" << "/x.ttf";
    QTest::newRow("folder") << "/usr/fonts" << "Demo.ttf" << "/usr/fonts/Demo.ttf";
    QTest::newRow("folder ending in /") << "/usr/fonts/" << "Demo.ttf" << "/usr/fonts/Demo.ttf";
}

void TestFileListBox::joinPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(volumes::joinPath(folder, name), expected);
}

void TestFileListBox::matchesMask_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("matches");
    QTest::newRow("upper case") << "Demo.TTF" << "*.ttf" << true;
    QTest::newRow("longer extension") << "a.ttf2" << "*.ttf" << false;
    QTest::newRow("star dot star without dot") << "README" << "*.*" << true;
    QTest::newRow("backtracking star") << "aXbXc" << "a*b*c" << true;
    QTest::newRow("brackets are plain") << "weird[1].ttf" << "weird[1].ttf" << true;
    QTest::newRow("brackets are no class") << "weird1.ttf" << "weird[1].ttf" << false;
}

void TestFileListBox::matchesMask()
{
    QFETCH(QString, name);
    QFETCH(QString, mask);
    QFETCH(bool, matches);
    QCOMPARE(volumes::matchesMask(name, mask), matches);
}

void TestFileListBox::virtualKeyCode_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");
    QTest::newRow("left") << int(Qt::Key_Left) << 0 << 37;
    QTest::newRow("keypad down") << int(Qt::Key_Down) << int(Qt::KeypadModifier) << 40;
    QTest::newRow("page up") << int(Qt::Key_PageUp) << 0 << 33;
    QTest::newRow("home") << int(Qt::Key_Home) << 0 << 36;
    QTest::newRow("select") << int(Qt::Key_Select) << 0 << 41;
    QTest::newRow("A") << int(Qt::Key_A) << 0 << 65;
    QTest::newRow("keypad 5") << int(Qt::Key_5) << int(Qt::KeypadModifier) << 101;
    QTest::newRow("shifted 1") << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 49;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 13;
    QTest::newRow("unknown") << int(Qt::Key_Adiaeresis) << 0 << 0;
}

void TestFileListBox::virtualKeyCode()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, code);
    QCOMPARE(::virtualKeyCode(key, Qt::KeyboardModifiers(modifiers)), code);
}

void TestFileListBox::listsMatchingFilesSorted()
{
    TFileListBox list;
    QCOMPARE(list.directory(), QDir::currentPath());
    list.setFileMask(QStringLiteral("*.ttf"));
    list.setDirectory(m_a);
    // Read-only and linked files are listed; dot-files, folders, dangling links and other
    // extensions are not.
    QCOMPARE(entries(list), QStringList({"a.ttf", "Demo.TTF", "link.ttf", "r.ttf"}));
    QCOMPARE(list.FileName(), QString());
    list.setCurrentRow(1);
    QCOMPARE(list.FileName(), m_a + QStringLiteral("/Demo.TTF"));
    list.setDirectory(m_a + QStringLiteral("/x.ttf"));
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.FileName(), QString());
}

void TestFileListBox::readsOnlyOnChangeOfFolder()
{
    TFileListBox list;
    list.setFileMask(QStringLiteral("*.ttf"));
    list.setDirectory(m_a);
    list.setCurrentRow(0);
    QSignalSpy clicks(&list, &TFileListBox::Click);
    list.setDirectory(m_b);
    QCOMPARE(entries(list), QStringList{"Other.ttf"});
    QCOMPARE(list.FileName(), QString());
    QCOMPARE(clicks.count(), 0);

    // Neither the folder shown nor the file name selected is read again; reread() is.
    list.setCurrentRow(0);
    touch(m_b + QStringLiteral("/Late.ttf"));
    list.setDirectory(m_b + QStringLiteral("/"));
    list.setFileName(m_b + QStringLiteral("/Other.ttf"));
    QCOMPARE(list.count(), 1);
    list.reread();
    QCOMPARE(entries(list), QStringList({"Late.ttf", "Other.ttf"}));

    // A file newer than the listing is found by name without giving up the mask.
    touch(m_b + QStringLiteral("/fresh.ttf"));
    list.setFileName(m_b + QStringLiteral("/fresh.ttf"));
    QCOMPARE(list.FileName(), m_b + QStringLiteral("/fresh.ttf"));
    QCOMPARE(list.fileMask(), QStringLiteral("*.ttf"));
    QVERIFY(QFile::remove(m_b + QStringLiteral("/Late.ttf")) && QFile::remove(m_b + QStringLiteral("/fresh.ttf")));
}

void TestFileListBox::setFileName_data()
{
    // Below the scratch folder; "" for no selection at the start.
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("applied");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("errors");
    QTest::newRow("same folder") << "" << "A/a.ttf" << "A/a.ttf" << "A" << "*.ttf" << 0;
    QTest::newRow("letter case differs") << "" << "A/DEMO.ttf" << "A/Demo.TTF" << "A" << "*.ttf" << 0;
    QTest::newRow("other folder") << "A/a.ttf" << "B/Other.ttf" << "B/Other.ttf" << "B" << "*.ttf" << 0;
    QTest::newRow("mask hides the file") << "" << "A/Pair.TTC" << "A/Pair.TTC" << "A" << "Pair.TTC" << 0;
    QTest::newRow("missing file elsewhere") << "A/a.ttf" << "B/missing.ttf" << "" << "B" << "*.ttf" << 0;
    QTest::newRow("dot-file keeps the mask") << "" << "A/.h.ttf" << "" << "A" << "*.ttf" << 0;
    QTest::newRow("folder named like a font") << "" << "A/x.ttf" << "" << "A" << "*.ttf" << 0;
    QTest::newRow("missing folder") << "A/a.ttf" << "none/a.ttf" << "" << "A" << "*.ttf" << 1;
}

void TestFileListBox::setFileName()
{
    QFETCH(QString, start);
    QFETCH(QString, applied);
    QFETCH(QString, fileName);
    QFETCH(QString, folder);
    QFETCH(QString, mask);
    QFETCH(int, errors);
    const auto full = [this](const QString &relative) {
        return relative.isEmpty() ? QString() : m_root + QLatin1Char('/') + relative;
    };

    TDirectoryListBox dirs;
    TFileListBox files;
    files.setFileMask(QStringLiteral("*.ttf"));
    dirs.setFileList(&files);
    dirs.setDirectory(m_a);
    files.setFileName(full(start));
    QCOMPARE(files.FileName(), full(start));
    QSignalSpy clicks(&files, &TFileListBox::Click);

    files.setFileName(full(applied));
    QCOMPARE(files.FileName(), full(fileName));
    QCOMPARE(files.directory(), full(folder));
    QCOMPARE(dirs.directory(), full(folder));
    QCOMPARE(files.fileMask(), mask);
    QCOMPARE(m_errors.size(), errors);
    QCOMPARE(clicks.count(), 0);
}

void TestFileListBox::keyboardClicks_data()
{
    QTest::addColumn<QString>("start"); // selected by program first; "" for none
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("clicks");
    using Keys = QList<int>;
    QTest::newRow("down selects the first") << "" << Keys{Qt::Key_Down} << "f00.ttf" << 1;
    QTest::newRow("left steps up") << "f03.ttf" << Keys{Qt::Key_Left} << "f02.ttf" << 1;
    QTest::newRow("end, home") << "f03.ttf" << Keys{Qt::Key_End, Qt::Key_Home} << "f00.ttf" << 2;
    QTest::newRow("up at the top") << "f00.ttf" << Keys{Qt::Key_Up} << "f00.ttf" << 0;
    // A page is the four visible rows: the last of them becomes the first.
    QTest::newRow("page down") << "f00.ttf" << Keys{Qt::Key_PageDown} << "f03.ttf" << 1;
    QTest::newRow("initial letter") << "f00.ttf" << Keys{Qt::Key_G} << "g.ttf" << 1;
    QTest::newRow("ctrl space keeps it") << "f03.ttf" << Keys{(Qt::ControlModifier | Qt::Key_Space).toCombined()}
                                         << "f03.ttf" << 0;
}

void TestFileListBox::keyboardClicks()
{
    QFETCH(QString, start);
    QFETCH(QList<int>, keys);
    QFETCH(QString, selected);
    QFETCH(int, clicks);

    const QString folder = m_root + QStringLiteral("/keys");
    if (!QFileInfo::exists(folder)) {
        QVERIFY(QDir().mkpath(folder));
        for (int i = 0; i < 10; ++i)
            touch(folder + QStringLiteral("/f%1.ttf").arg(i, 2, 10, QLatin1Char('0')));
        touch(folder + QStringLiteral("/g.ttf"));
    }
    QWidget window;
    auto *list = new TFileListBox(&window);
    list->setItemHeight(13);
    list->setGeometry(0, 0, 113, 4 * 13 + 2 * list->frameWidth());
    list->setDirectory(folder);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    list->setFocus();
    if (!start.isEmpty())
        list->setFileName(volumes::joinPath(folder, start));
    QSignalSpy spy(list, &TFileListBox::Click);

    for (int key : keys)
        QTest::keyClick(list, Qt::Key(key & ~Qt::KeyboardModifierMask),
                        Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
    QCOMPARE(list->FileName(), volumes::joinPath(folder, selected));
    QCOMPARE(spy.count(), clicks);
}

void TestFileListBox::mouseClicks()
{
    QWidget window;
    auto *list = new TFileListBox(&window);
    auto *other = new QLineEdit(&window);
    list->setFileMask(QStringLiteral("*.ttf"));
    list->setGeometry(0, 0, 113, 160);
    other->setGeometry(0, 170, 100, 20);
    list->setDirectory(m_a);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    other->setFocus();
    QSignalSpy clicks(list, &TFileListBox::Click);
    QSignalSpy mouseUps(list, &TFileListBox::MouseUp);
    const auto centre = [list](int row) { return list->visualItemRect(list->item(row)).center(); };

    // Right button: no focus, no selection; only the release is reported.
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, centre(1));
    QVERIFY(!list->hasFocus());
    QCOMPARE(list->FileName(), QString());
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(mouseUps.count(), 1);
    QCOMPARE(mouseUps.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre(1));
    QVERIFY(list->hasFocus());
    QCOMPARE(list->FileName(), m_a + QStringLiteral("/Demo.TTF"));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(mouseUps.count(), 2);

    // The same entry again, with Ctrl, the empty space below, the right button: it stays.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, centre(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, 150));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, centre(0));
    QCOMPARE(list->FileName(), m_a + QStringLiteral("/Demo.TTF"));
    QCOMPARE(clicks.count(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre(3));
    QCOMPARE(list->FileName(), m_a + QStringLiteral("/r.ttf"));
    QCOMPARE(clicks.count(), 2);
}

void TestFileListBox::keyUpAndFocusByProgram()
{
    QWidget window;
    auto *other = new QLineEdit(&window);
    auto *list = new TFileListBox(&window);
    list->setGeometry(0, 30, 113, 33);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    other->setFocus();
    list->setFocusByProgram();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.focusWidget(), list);

    QSignalSpy keyUps(list, &TFileListBox::KeyUp);
    QTest::keyClick(list, Qt::Key_Left);
    QTest::keyClick(list, Qt::Key_Home, Qt::ShiftModifier);
    QCOMPARE(keyUps.count(), 3); // Left, Home, then Shift itself
    QCOMPARE(keyUps.at(0).at(0).toInt(), 37);
    QCOMPARE(keyUps.at(1).at(0).toInt(), 36);
    QCOMPARE(keyUps.at(1).at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    QCOMPARE(keyUps.at(2).at(0).toInt(), 16);
}

QTEST_MAIN(TestFileListBox)
#include "tst_filelistbox.moc"
