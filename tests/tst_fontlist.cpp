// The font selector: start-up fill and selection, sorting, and the deferred re-reading of the
// installed fonts after Add or Del, against the test font configuration.
#include "platform/fonttable.h"
#include "testsupport.h"
#include "unit1.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QtTest>

class TestFontList : public QObject
{
    Q_OBJECT
    testsupport::MainWindow m_form;

private slots:
    void init() { FontsChanged = 0; }
    void cleanup() { m_form.reset(); }

    // The dropped list shows rows 16 pixels high, at most eight of them.
    void droppedRows()
    {
        m_form = testsupport::OpenMainWindow({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
        QVERIFY(m_form);
        TComboBox *box = m_form->ComboBox1;
        box->showPopup();
        QAbstractItemView *view = box->view();
        QTRY_VERIFY(view->isVisible());
        for (int row : {0, 5})
            QCOMPARE(view->visualRect(box->model()->index(row, 0)).height(), TComboBox::ItemHeight);
        QCOMPARE(box->maxVisibleItems(), 8);
        QVERIFY(view->viewport()->height() <= 8 * TComboBox::ItemHeight + 2);
        box->hidePopup();
    }

    void startupSelection_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("items"); // sorted, letter case ignored, duplicates kept
        QTest::addColumn<int>("selected");
        const QString tnr = "Times New Roman";
        QTest::newRow("present") << QStringList{"Zapf", tnr, "Arial"} << QStringList{"Arial", tnr, "Zapf"} << 1;
        QTest::newRow("only other case") << QStringList{"times new roman", "Arial"}
                                         << QStringList{"Arial", "times new roman"} << -1;
        QTest::newRow("longer name") << QStringList{"Times New Roman PS", "Arial"}
                                     << QStringList{"Arial", "Times New Roman PS"} << -1;
        QTest::newRow("twice: last one") << QStringList{tnr, "Arial", tnr} << QStringList{"Arial", tnr, tnr} << 2;
        QTest::newRow("no fonts") << QStringList{} << QStringList{} << -1;
        QTest::newRow("case and duplicates") << QStringList{"beta", "Alpha", "alpha", "Gamma", "beta"}
                                             << QStringList{"Alpha", "alpha", "beta", "beta", "Gamma"} << -1;
    }
    void startupSelection()
    {
        QFETCH(QStringList, names);
        QFETCH(int, selected);
        m_form = testsupport::OpenMainWindow(names);
        QVERIFY(m_form);
        QTEST(m_form->ComboBox1->Items(), "items");
        QCOMPARE(m_form->ComboBox1->ItemIndex(), selected);
        QCOMPARE(m_form->ComboBox1->shownText(), selected >= 0 ? QStringLiteral("Times New Roman") : QString());
        QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Times New Roman")); // from the form
    }

    // What a pick in the selector and the pointer moving over the strip or the font-size box do,
    // starting from the list sorted or unsorted (as after a preview) and the fonts changed or not.
    void triggers_data()
    {
        QTest::addColumn<bool>("unsorted");
        QTest::addColumn<bool>("stale");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QStringList>("items"); // {"*"}: the installed fonts read again
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<QString>("chart");
        const QString tnr = "Times New Roman";
        const QStringList sorted{"a", "b", tnr}, reread{"*"};
        QTest::newRow("pick: applied") << false << false << "pick" << sorted << 1 << true << "b";
        QTest::newRow("pick, stale: only re-read") << true << true << "pick" << reread << -1 << true << tnr;
        QTest::newRow("strip, stale: re-read") << true << true << "strip" << reread << -1 << true << tnr;
        QTest::newRow("strip, sorted: nothing") << false << false << "strip" << sorted << 2 << true << tnr;
        QTest::newRow("strip, unsorted: sorted") << true << false << "strip" << sorted << -1 << true << tnr;
        QTest::newRow("size box, unsorted: sorted") << true << false << "entry" << sorted << -1 << true << tnr;
        QTest::newRow("size box buttons: nothing") << true << true << "buttons" << QStringList{"b", "a", tnr} << 2
                                                   << false << tnr;
    }
    void triggers()
    {
        QFETCH(bool, unsorted);
        QFETCH(bool, stale);
        QFETCH(QString, trigger);
        QFETCH(QStringList, items);
        m_form = testsupport::OpenMainWindow({"b", "a", "Times New Roman"});
        QVERIFY(m_form);
        TComboBox *box = m_form->ComboBox1;
        if (unsorted) {
            box->setSorted(false);
            box->fill({"b", "a", "Times New Roman"});
            box->setItemIndex(2);
        }
        FontsChanged = stale ? 1 : 0;
        QWidget *over = trigger == QLatin1String("strip")   ? static_cast<QWidget *>(m_form->Panel1)
                        : trigger == QLatin1String("entry") ? m_form->SpinEdit1->editor()
                                                            : m_form->SpinEdit1->findChild<QWidget *>("up");
        if (trigger == QLatin1String("pick")) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Up);
        } else {
            const QPoint at = over == m_form->Panel1 ? QPoint(100, 12) : QPoint(3, 3); // clear of the boxes
            QTest::mouseMove(over, at);
            QTest::mouseMove(over, at + QPoint(1, 1));
        }
        const bool reread = items == QStringList{"*"};
        if (reread)
            QCOMPARE(box->count(), m_form.fonts().ReadInstalledFontNames().size());
        else
            QCOMPARE(box->Items(), items);
        QTEST(box->ItemIndex(), "index");
        QTEST(box->Sorted(), "sorted");
        QTEST(m_form->StringGrid1->FontName(), "chart");
        QTEST(m_form->RichEdit1->FontName(), "chart");
        QCOMPARE(FontsChanged, stale && !reread ? 1 : 0);
    }
};

QTEST_MAIN(TestFontList)
#include "tst_fontlist.moc"
