// The font selector: start-up fill and selection, sorting, and the deferred re-reading of the
// installed fonts after Add or Del, against the test font configuration.
#include "fonttable.h"
#include "testsupport.h"
#include "unit1.h"

#include <QFile>
#include <QLineEdit>
#include <QFontInfo>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestFontList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startupSelection_data();
    void startupSelection();
    void startupListFromTheFontTable();
    void sortingIgnoresCaseAndKeepsDuplicates();
    void sortingSwitchRebuildsInPlace();
    void pickWhileStaleOnlyRereads();
    void stripMoveRereadsSorted();
    void sizeBoxMoveSortsAndClearsSelection();
    void movesWithNothingStaleChangeNothing_data();
    void movesWithNothingStaleChangeNothing();
    void fontCopiedIntoUserFolderAppears();

private:
    void Open(const QStringList &startupNames);
    void PickWithKeyboard(int key = Qt::Key_Down);
    std::unique_ptr<TForm1> m_form;
};

void TestFontList::init()
{
    FontsChanged = 0;
    testsupport::resetDir(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/fonts"));
}

void TestFontList::cleanup()
{
    m_form.reset();
}

void TestFontList::Open(const QStringList &startupNames)
{
    m_form = testsupport::OpenMainWindow(startupNames);
    QVERIFY(m_form);
}

void TestFontList::PickWithKeyboard(int key)
{
    m_form->ComboBox1->setFocus();
    QTest::keyClick(m_form->ComboBox1, Qt::Key(key));
}

void TestFontList::startupSelection_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("shown");
    QTest::newRow("present") << QStringList{"Zapf", "Times New Roman", "Arial"} << 1 << "Times New Roman";
    QTest::newRow("only other case") << QStringList{"times new roman", "Arial"} << -1 << "";
    QTest::newRow("longer name") << QStringList{"Times New Roman PS", "Arial"} << -1 << "";
    QTest::newRow("twice: last one") << QStringList{"Times New Roman", "Arial", "Times New Roman"} << 2 << "Times New Roman";
    QTest::newRow("no fonts") << QStringList{} << -1 << "";
}

void TestFontList::startupSelection()
{
    QFETCH(QStringList, names);
    Open(names);
    QTEST(m_form->ComboBox1->ItemIndex(), "selected");
    QTEST(m_form->ComboBox1->ShownText(), "shown");
    QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Times New Roman")); // from the form
}

void TestFontList::startupListFromTheFontTable()
{
    Open(platform::FontTable::Instance().ReadInstalledFontNames());
    const QStringList items = m_form->ComboBox1->Items();
    QVERIFY(items.contains(QStringLiteral("DejaVu Sans")));
    QVERIFY(items.contains(QStringLiteral("Liberation Serif")));
    QStringList sorted = items;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QCOMPARE(items, sorted);
    QCOMPARE(m_form->ComboBox1->Text(), QStringLiteral("Times New Roman"));
}

void TestFontList::sortingIgnoresCaseAndKeepsDuplicates()
{
    Open({"beta", "Alpha", "alpha", "Gamma", "beta"});
    QCOMPARE(m_form->ComboBox1->Items(), (QStringList{"Alpha", "alpha", "beta", "beta", "Gamma"}));
}

void TestFontList::sortingSwitchRebuildsInPlace()
{
    Open({"b", "a", "c"});
    TComboBox *box = m_form->ComboBox1;
    box->setItemIndex(1);
    box->setSorted(true); // the value it has: nothing happens
    QCOMPARE(box->ItemIndex(), 1);
    box->setSorted(false);
    QCOMPARE(box->Items(), (QStringList{"a", "b", "c"}));
    QCOMPARE(box->ItemIndex(), -1);
    box->AddItem(QStringLiteral("0"));
    QCOMPARE(box->Items(), (QStringList{"a", "b", "c", "0"}));
    box->setItemIndex(3);
    box->setSorted(true);
    QCOMPARE(box->Items(), (QStringList{"0", "a", "b", "c"}));
    QCOMPARE(box->ItemIndex(), -1);
    QCOMPARE(box->ShownText(), QString());
}

void TestFontList::pickWhileStaleOnlyRereads()
{
    Open({"DejaVu Sans", "Liberation Mono", "Times New Roman"});
    FontsChanged = 1;
    QSignalSpy changes(m_form->ComboBox1, &TComboBox::Change);
    PickWithKeyboard(Qt::Key_Up);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(FontsChanged, 0);
    QCOMPARE(m_form->ComboBox1->Items().size(), platform::FontTable::Instance().ReadInstalledFontNames().size());
    QCOMPARE(m_form->ComboBox1->ItemIndex(), -1); // filled, and nothing selected
    QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Times New Roman"));
    QCOMPARE(m_form->RichEdit1->FontName(), QStringLiteral("Times New Roman"));
    PickWithKeyboard(Qt::Key_Down); // the next pick is applied
    QCOMPARE(m_form->ComboBox1->ItemIndex(), 0);
    QCOMPARE(m_form->StringGrid1->FontName(), m_form->ComboBox1->itemText(0));
    QCOMPARE(m_form->RichEdit1->FontName(), m_form->ComboBox1->itemText(0));
}

void TestFontList::stripMoveRereadsSorted()
{
    Open({"Times New Roman"});
    FontsChanged = 1;
    QTest::mouseMove(m_form->Panel1, QPoint(100, 12)); // the bare strip between the boxes and the chart
    QCOMPARE(FontsChanged, 0);
    const QStringList items = m_form->ComboBox1->Items();
    QVERIFY(items.size() > 3);
    QVERIFY(items.contains(QStringLiteral("Liberation Sans")));
    QVERIFY(m_form->ComboBox1->Sorted());
    const int liberation = items.indexOf(QStringLiteral("Liberation Sans"));
    m_form->ComboBox1->setFocus();
    m_form->ComboBox1->setCurrentIndex(liberation - 1);
    PickWithKeyboard(Qt::Key_Down); // applied at once
    QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Liberation Sans"));
}

void TestFontList::sizeBoxMoveSortsAndClearsSelection()
{
    Open({"Times New Roman"});
    TComboBox *box = m_form->ComboBox1;
    box->setSorted(false);
    box->Fill({"b", "a", "Tavoret Test Beta"});
    box->setItemIndex(2);
    m_form->StringGrid1->setFontName(QStringLiteral("Tavoret Test Beta"));
    // The spin buttons are not the entry area: moving over them changes nothing.
    QTest::mouseMove(m_form->SpinEdit1->findChild<QWidget *>(QStringLiteral("up")), QPoint(3, 3));
    QVERIFY(!box->Sorted());
    QTest::mouseMove(m_form->SpinEdit1->Editor(), QPoint(5, 5));
    QVERIFY(box->Sorted());
    QCOMPARE(box->Items(), (QStringList{"a", "b", "Tavoret Test Beta"}));
    QCOMPARE(box->ItemIndex(), -1);
    QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Tavoret Test Beta"));
}

void TestFontList::movesWithNothingStaleChangeNothing_data()
{
    QTest::addColumn<QString>("over");
    QTest::newRow("strip") << "Panel1";
    QTest::newRow("size box") << "SpinEdit1";
}

void TestFontList::movesWithNothingStaleChangeNothing()
{
    QFETCH(QString, over);
    Open({"b", "a", "Times New Roman"});
    QWidget *target = over == QLatin1String("Panel1") ? static_cast<QWidget *>(m_form->Panel1)
                                                        : m_form->SpinEdit1->Editor();
    QTest::mouseMove(target, QPoint(5, 10));
    QTest::mouseMove(target, QPoint(6, 12));
    QCOMPARE(m_form->ComboBox1->Items(), (QStringList{"a", "b", "Times New Roman"}));
    QCOMPARE(m_form->ComboBox1->Text(), QStringLiteral("Times New Roman"));
    QCOMPARE(FontsChanged, 0);
}

void TestFontList::fontCopiedIntoUserFolderAppears()
{
    Open({"Times New Roman"});
    const QString copy = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/fonts/TavoretBeta.ttf");
    QVERIFY(QFile::copy(testsupport::fontPath(QStringLiteral("files/TavoretBeta.ttf")), copy));
    FontsChanged = 1; // as after Add
    m_form->Panel1MouseMove();
    const int index = m_form->ComboBox1->findText(QStringLiteral("Tavoret Test Beta"));
    QVERIFY(index >= 0);
    m_form->ComboBox1->setItemIndex(index);
    m_form->ComboBox1Change();
    QCOMPARE(QFontInfo(m_form->StringGrid1->DrawFont()).family(), QStringLiteral("Tavoret Test Beta"));
    // Deleted there, it is gone from the next reading.
    QVERIFY(QFile::remove(copy));
    FontsChanged = 1;
    m_form->Panel1MouseMove();
    QCOMPARE(m_form->ComboBox1->findText(QStringLiteral("Tavoret Test Beta")), -1);
}

QTEST_MAIN(TestFontList)
#include "tst_fontlist.moc"
