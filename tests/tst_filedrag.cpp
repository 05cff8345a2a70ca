// The drop target on its own: splitting dropped names, reading drops into the three lists,
// switching drops on and off, and leaving every other event to the window.
#include "filedrag.h"
#include "fontfiles.h"
#include "testsupport.h"

#include <QMimeData>
#include <QWidget>
#include <QtTest>

namespace {
// A window that counts what reaches its own event handling.
class CountingWindow : public QWidget
{
public:
    QMap<QEvent::Type, int> seen;

protected:
    bool event(QEvent *e) override
    {
        seen[e->type()]++;
        if (e->type() == QEvent::DragEnter) // a window of its own that takes drops too
            static_cast<QDragEnterEvent *>(e)->acceptProposedAction();
        return QWidget::event(e);
    }
};
} // namespace

class TestFileDrag : public QObject
{
    Q_OBJECT
    CountingWindow *m_window = nullptr;
    TFileDrag *m_drag = nullptr;
    int m_fired = 0;

    bool Drop() { return testsupport::SendDrop(m_window, {QUrl::fromLocalFile("/a/b.ttf")}); }

private slots:
    void init()
    {
        m_window = new CountingWindow;
        m_drag = new TFileDrag(m_window);
        m_fired = 0;
        m_drag->setOnDrop([this](QObject *sender) { m_fired += sender == m_drag ? 1 : 100; });
    }
    void cleanup() { delete m_window; }

    void splitName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("nameOnly");
        QTest::addColumn<QString>("extension");
        QTest::newRow("plain") << "/fonts/DEMO.TTF" << "DEMO.TTF" << "TTF";
        QTest::newRow("two dots") << "/f/a.b.ttf" << "a.b.ttf" << "b.ttf";
        QTest::newRow("trailing dot") << "/f/abc." << "abc." << "";
        QTest::newRow("dots in folders") << "/my.fonts/v1.2/x.ttf" << "x.ttf" << "ttf";
        QTest::newRow("no dot") << "/my.fonts/README" << "README" << "";
        QTest::newRow("no separator") << "x.ttf" << "x.ttf" << "ttf";
        QTest::newRow("folder ends in separator") << "/f/x.ttf/" << "" << "";
    }
    void splitName()
    {
        QFETCH(QString, name);
        QString nameOnly, extension;
        fontfiles::splitName(name, &nameOnly, &extension);
        QTEST(nameOnly, "nameOnly");
        QTEST(extension, "extension");
    }

    // The drop target takes drags that carry file names; any other drag reaches the window.
    void dragsTaken_data()
    {
        QTest::addColumn<bool>("names");
        QTest::addColumn<bool>("taken");
        QTest::newRow("file names and text") << true << true;
        QTest::newRow("text only") << false << false;
    }
    void dragsTaken()
    {
        QFETCH(bool, names);
        m_drag->setEnableDrop(true);
        QMimeData data;
        data.setText(QStringLiteral("/a/b.ttf"));
        if (names)
            data.setUrls({QUrl::fromLocalFile("/a/b.ttf")});
        testsupport::SendDrop(m_window, data);
        QTEST(m_window->seen.value(QEvent::DragEnter) == 0, "taken");
    }

    void dropFillsListsInOrder()
    {
        m_drag->setEnableDrop(true);
        // Only local files count: the web address is left out.
        QVERIFY(testsupport::SendDrop(m_window, {QUrl::fromLocalFile("/a/one.ttf"), QUrl("https://example.org/x.ttf"),
                                                 QUrl::fromLocalFile("/b/two.TXT"), QUrl::fromLocalFile("/c/three")}));
        QCOMPARE(m_fired, 1);
        QCOMPARE(m_drag->FileCount(), 3);
        QCOMPARE(m_drag->NameWithPath(), (QStringList{"/a/one.ttf", "/b/two.TXT", "/c/three"}));
        QCOMPARE(m_drag->NameOnly(), (QStringList{"one.ttf", "two.TXT", "three"}));
        QCOMPARE(m_drag->Extension(), (QStringList{"ttf", "TXT", ""}));
        Drop(); // a second drop replaces all three lists
        QCOMPARE(m_fired, 2);
        QCOMPARE(m_drag->NameWithPath() + m_drag->NameOnly() + m_drag->Extension(),
                 (QStringList{"/a/b.ttf", "b.ttf", "ttf"}));
    }

    // Drops are switched on and off; every other event reaches the window as before.
    void switchingAndOtherEvents()
    {
        QVERIFY(!m_window->acceptDrops()); // off at first
        m_drag->setEnableDrop(true);
        QVERIFY(m_window->acceptDrops());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        m_window->seen.clear();
        QTest::mouseClick(m_window, Qt::LeftButton);
        QTest::keyClick(m_window, Qt::Key_A);
        m_window->resize(300, 200);
        m_window->repaint();
        const QMap<QEvent::Type, int> &seen = m_window->seen;
        QCOMPARE((QList<int>{seen.value(QEvent::MouseButtonPress), seen.value(QEvent::MouseButtonRelease),
                             seen.value(QEvent::KeyPress)}),
                 (QList<int>{1, 1, 1}));
        QVERIFY(seen.value(QEvent::Resize) >= 1 && seen.value(QEvent::Paint) >= 1);
        Drop();
        QCOMPARE(m_fired, 1);
        QCOMPARE(seen.value(QEvent::Drop), 0); // the drop is the component's
        m_drag->setEnableDrop(false);
        QVERIFY(!m_window->acceptDrops());
        Drop();
        QCOMPARE(m_fired, 1);
        QTest::keyClick(m_window, Qt::Key_A); // still hooked: other events pass as before
        QCOMPARE(seen.value(QEvent::KeyPress), 2);
    }

    void ownerWithoutWindow()
    {
        QObject owner;
        auto *drag = new TFileDrag(&owner);
        drag->setEnableDrop(true);
        QVERIFY(!drag->EnableDrop());
        drag->readNames({QStringLiteral("/a/b.ttf")}); // reading names needs no window
        QCOMPARE(drag->Extension(), QStringList{"ttf"});
    }

    void destructionDetaches()
    {
        m_drag->setEnableDrop(true);
        delete m_drag;
        QVERIFY(!m_window->acceptDrops());
        m_window->setAcceptDrops(true);
        Drop();
        QCOMPARE(m_fired, 0);
        QCOMPARE(m_window->seen.value(QEvent::Drop), 1); // the window handles it itself now
    }
};

QTEST_MAIN(TestFileDrag)
#include "tst_filedrag.moc"
