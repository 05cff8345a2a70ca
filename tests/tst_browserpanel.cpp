// The font-file browser panel on the main window: revealing it, and how the folder and file
// lists grow, shrink and switch their hints on focus, clicks and keys.
#include "testsupport.h"
#include "unit1.h"

#include <QtTest>

#include <memory>

class TestBrowserPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void revealsThePanel();
    void listSizesAndHints_data();
    void listSizesAndHints();

private:
    void Step(const QString &step);
    std::unique_ptr<TForm1> m_form;
};

void TestBrowserPanel::init()
{
    m_form = testsupport::OpenMainWindow({});
    QVERIFY(m_form);
}

void TestBrowserPanel::cleanup()
{
    m_form.reset();
}

void TestBrowserPanel::revealsThePanel()
{
    QTest::mouseClick(m_form->Button1, Qt::LeftButton);
    for (QWidget *control : {static_cast<QWidget *>(m_form->DriveComboBox1),
                             static_cast<QWidget *>(m_form->DirectoryListBox1),
                             static_cast<QWidget *>(m_form->FileListBox1), static_cast<QWidget *>(m_form->btnAdd),
                             static_cast<QWidget *>(m_form->btnDel)})
        QVERIFY2(control->isVisible(), qPrintable(control->objectName()));
    QVERIFY(!m_form->Button1->isVisible());
    m_form->Button1Click(); // once revealed, nothing brings the button back
    QVERIFY(!m_form->Button1->isVisible());
    QVERIFY(m_form->FileListBox1->isVisible());
    // The lists lie above the chart when they grow over it.
    const QObjectList &children = m_form->children();
    QVERIFY(children.indexOf(m_form->FileListBox1) > children.indexOf(m_form->StringGrid1));
    QVERIFY(children.indexOf(m_form->DirectoryListBox1) > children.indexOf(m_form->StringGrid1));
}

void TestBrowserPanel::Step(const QString &step)
{
    TDirectoryListBox *folders = m_form->DirectoryListBox1;
    TFileListBox *files = m_form->FileListBox1;
    const QPoint firstEntry(10, 5);
    if (step == QLatin1String("folders:focus"))
        folders->setFocus(Qt::TabFocusReason);
    else if (step == QLatin1String("other:focus"))
        m_form->ComboBox1->setFocus(Qt::TabFocusReason);
    else if (step == QLatin1String("folders:right"))
        QTest::mouseClick(folders->viewport(), Qt::RightButton, {}, firstEntry);
    else if (step == QLatin1String("folders:middle"))
        QTest::mouseClick(folders->viewport(), Qt::MiddleButton, {}, firstEntry);
    else if (step == QLatin1String("folders:left"))
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, firstEntry);
    else if (step == QLatin1String("files:right"))
        QTest::mouseClick(files->viewport(), Qt::RightButton, {}, firstEntry);
    else if (step == QLatin1String("files:left"))
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, firstEntry);
    else if (step.startsWith(QLatin1String("files:key:"))) {
        files->setFocus(Qt::TabFocusReason);
        const int key = step.mid(10).toInt(nullptr, 16);
        QTest::keyClick(files, Qt::Key(key));
    } else
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
}

void TestBrowserPanel::listSizesAndHints_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("folderHeight");
    QTest::addColumn<bool>("folderHint");
    QTest::addColumn<int>("fileHeight");
    QTest::addColumn<bool>("fileHint");
    const QString home = QString::number(Qt::Key_Home, 16), end = QString::number(Qt::Key_End, 16);
    const QString down = QString::number(Qt::Key_Down, 16), up = QString::number(Qt::Key_Up, 16);
    const QString left = QString::number(Qt::Key_Left, 16), right = QString::number(Qt::Key_Right, 16);
    const QString pageDown = QString::number(Qt::Key_PageDown, 16), letter = QString::number(Qt::Key_T, 16);
    QTest::newRow("at start") << QStringList{} << 33 << true << 33 << true;
    QTest::newRow("folders: focus grows") << QStringList{"folders:focus"} << 200 << true << 33 << true;
    QTest::newRow("folders: focus lost shrinks") << QStringList{"folders:focus", "other:focus"} << 33 << true << 33 << true;
    QTest::newRow("folders: right grows, hint off") << QStringList{"folders:right"} << 200 << false << 33 << true;
    QTest::newRow("folders: right twice") << QStringList{"folders:right", "folders:right"} << 33 << true << 33 << true;
    QTest::newRow("folders: right while focused shrinks")
        << QStringList{"folders:focus", "folders:right"} << 33 << true << 33 << true;
    QTest::newRow("folders: right, focus, focus lost keeps hint off")
        << QStringList{"folders:right", "folders:focus", "other:focus"} << 33 << false << 33 << true;
    QTest::newRow("folders: ... then right grows again")
        << QStringList{"folders:right", "folders:focus", "other:focus", "folders:right"} << 200 << false << 33 << true;
    QTest::newRow("folders: middle ignored") << QStringList{"folders:middle"} << 33 << true << 33 << true;
    QTest::newRow("folders: left click grows") << QStringList{"folders:left"} << 200 << true << 33 << true;
    QTest::newRow("folders: left click then focus elsewhere")
        << QStringList{"folders:left", "other:focus"} << 33 << true << 33 << true;
    QTest::newRow("files: right grows") << QStringList{"files:right"} << 33 << true << 160 << true;
    QTest::newRow("files: right twice") << QStringList{"files:right", "files:right"} << 33 << true << 33 << true;
    QTest::newRow("files: left never resizes") << QStringList{"files:right", "files:left"} << 33 << true << 160 << true;
    QTest::newRow("files: Home keeps hint") << QStringList{"files:key:" + home} << 33 << true << 33 << true;
    QTest::newRow("files: End, PageDown, letter keep hint")
        << QStringList{"files:key:" + end, "files:key:" + pageDown, "files:key:" + letter} << 33 << true << 33 << true;
    QTest::newRow("files: Down switches hint off") << QStringList{"files:key:" + down} << 33 << true << 33 << false;
    QTest::newRow("files: Up") << QStringList{"files:key:" + up} << 33 << true << 33 << false;
    QTest::newRow("files: Left") << QStringList{"files:key:" + left} << 33 << true << 33 << false;
    QTest::newRow("files: Right, then Home: stays off")
        << QStringList{"files:key:" + right, "files:key:" + home} << 33 << true << 33 << false;
}

void TestBrowserPanel::listSizesAndHints()
{
    QFETCH(QStringList, steps);
    m_form->DirectoryListBox1->setDirectory(testsupport::fontPath(QStringLiteral("files")));
    m_form->Button1Click();
    for (const QString &step : steps)
        Step(step);
    QTEST(m_form->DirectoryListBox1->height(), "folderHeight");
    QTEST(TForm1::ShowHint(m_form->DirectoryListBox1), "folderHint");
    QTEST(m_form->FileListBox1->height(), "fileHeight");
    QTEST(TForm1::ShowHint(m_form->FileListBox1), "fileHint");
    if (!TForm1::ShowHint(m_form->DirectoryListBox1)) // the text is kept for switching back on
        QCOMPARE(m_form->DirectoryListBox1->property("Hint").toString(), QStringLiteral("Right-Click to enlarge"));
}

QTEST_MAIN(TestBrowserPanel)
#include "tst_browserpanel.moc"
