// The font-file browser panel on the main window: revealing it, and how the folder and file
// lists grow, shrink and switch their hints on focus, clicks and keys.
#include "testsupport.h"
#include "unit1.h"

#include <QtTest>

class TestBrowserPanel : public QObject
{
    Q_OBJECT
    testsupport::MainWindow m_form;

    // "dirs:", "files:" or "other:" followed by "focus", a mouse button or a key name.
    void Step(const QString &step)
    {
        static const QMap<QString, Qt::MouseButton> buttons{
            {"left", Qt::LeftButton}, {"right", Qt::RightButton}, {"middle", Qt::MiddleButton}};
        static const QMap<QString, Qt::Key> keys{{"Home", Qt::Key_Home}, {"End", Qt::Key_End},
                                                 {"T", Qt::Key_T},       {"Left", Qt::Key_Left},
                                                 {"Right", Qt::Key_Right}, {"Down", Qt::Key_Down},
                                                 {"Up", Qt::Key_Up},     {"Select", Qt::Key_Select}};
        const QString what = step.section(QLatin1Char(':'), 1);
        QListWidget *list = step.startsWith(QLatin1String("dirs"))
            ? static_cast<QListWidget *>(m_form->DirectoryListBox1) : m_form->FileListBox1;
        if (step == QLatin1String("other:focus"))
            m_form->ComboBox1->setFocus(Qt::TabFocusReason);
        else if (what == QLatin1String("focus"))
            list->setFocus(Qt::TabFocusReason);
        else if (buttons.contains(what))
            QTest::mouseClick(list->viewport(), buttons.value(what), {}, QPoint(10, 5));
        else if (keys.contains(what)) {
            list->setFocus(Qt::TabFocusReason);
            QTest::keyClick(list, keys.value(what));
        } else
            QFAIL(qPrintable("unknown step " + step));
    }

private slots:
    void init()
    {
        m_form = testsupport::OpenMainWindow({});
        QVERIFY(m_form);
    }
    void cleanup() { m_form.reset(); }

    void revealsThePanel()
    {
        QTest::mouseClick(m_form->Button1, Qt::LeftButton);
        for (QWidget *control : QList<QWidget *>{m_form->DriveComboBox1, m_form->DirectoryListBox1,
                                                 m_form->FileListBox1, m_form->btnAdd, m_form->btnDel})
            QVERIFY2(control->isVisible(), qPrintable(control->objectName()));
        QVERIFY(!m_form->Button1->isVisible());
        m_form->Button1Click(); // once revealed, nothing brings the button back
        QVERIFY(!m_form->Button1->isVisible());
        // The lists lie above the chart when they grow over it.
        const QObjectList &children = m_form->children();
        QVERIFY(children.indexOf(m_form->FileListBox1) > children.indexOf(m_form->StringGrid1));
        QVERIFY(children.indexOf(m_form->DirectoryListBox1) > children.indexOf(m_form->StringGrid1));
    }

    void listSizesAndHints_data()
    {
        QTest::addColumn<QString>("steps"); // separated by blanks
        QTest::addColumn<int>("folderHeight");
        QTest::addColumn<bool>("folderHint");
        QTest::addColumn<int>("fileHeight");
        QTest::addColumn<bool>("fileHint");
        QTest::newRow("at start") << "" << 33 << true << 33 << true;
        QTest::newRow("folders: focus grows") << "dirs:focus" << 200 << true << 33 << true;
        QTest::newRow("folders: focus lost shrinks") << "dirs:focus other:focus" << 33 << true << 33 << true;
        QTest::newRow("folders: right grows, hint off") << "dirs:right" << 200 << false << 33 << true;
        QTest::newRow("folders: right twice") << "dirs:right dirs:right" << 33 << true << 33 << true;
        QTest::newRow("folders: right while focused shrinks") << "dirs:focus dirs:right" << 33 << true << 33 << true;
        QTest::newRow("folders: right, focus, focus lost keeps hint off")
            << "dirs:right dirs:focus other:focus" << 33 << false << 33 << true;
        QTest::newRow("folders: ... then right grows again")
            << "dirs:right dirs:focus other:focus dirs:right" << 200 << false << 33 << true;
        QTest::newRow("folders: middle ignored") << "dirs:middle" << 33 << true << 33 << true;
        QTest::newRow("folders: left click grows") << "dirs:left" << 200 << true << 33 << true;
        QTest::newRow("files: right grows") << "files:right" << 33 << true << 160 << true;
        QTest::newRow("files: right twice") << "files:right files:right" << 33 << true << 33 << true;
        QTest::newRow("files: left never resizes") << "files:right files:left" << 33 << true << 160 << true;
        QTest::newRow("files: Home, End, T keep hint") << "files:Home files:End files:T" << 33 << true << 33 << true;
        QTest::newRow("files: Down switches hint off") << "files:Down" << 33 << true << 33 << false;
        QTest::newRow("files: Up") << "files:Up" << 33 << true << 33 << false;
        QTest::newRow("files: Select, the key after the arrows, keeps hint") << "files:Select" << 33 << true << 33 << true;
        QTest::newRow("files: Left") << "files:Left" << 33 << true << 33 << false;
        QTest::newRow("files: Right, then Home: stays off") << "files:Right files:Home" << 33 << true << 33 << false;
    }
    void listSizesAndHints()
    {
        QFETCH(QString, steps);
        m_form->DirectoryListBox1->setDirectory(testsupport::fontPath(QStringLiteral("files")));
        m_form->Button1Click();
        for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            Step(step);
        QTEST(m_form->DirectoryListBox1->height(), "folderHeight");
        QTEST(TForm1::ShowHint(m_form->DirectoryListBox1), "folderHint");
        QTEST(m_form->FileListBox1->height(), "fileHeight");
        QTEST(TForm1::ShowHint(m_form->FileListBox1), "fileHint");
        if (!TForm1::ShowHint(m_form->DirectoryListBox1)) // the text is kept for switching back on
            QCOMPARE(TForm1::Hint(m_form->DirectoryListBox1), QStringLiteral("Right-Click to enlarge"));
    }
};

QTEST_MAIN(TestBrowserPanel)
#include "tst_browserpanel.moc"
