// The drop target on its own: splitting dropped names, reading drops into the three lists,
// switching drops on and off, and leaving every other event to the window.
#include "filedrag.h"

#include <QMimeData>
#include <QUrl>
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

void SendDrop(QWidget *target, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}
} // namespace

class TestFileDrag : public QObject
{
    Q_OBJECT

private slots:
    void splitName_data();
    void splitName();
    void startsNotAcceptingDrops();
    void dropFillsListsInOrder();
    void otherEventsReachTheWindow();
    void disabledDropsAreNotRead();
    void ownerWithoutWindow();
    void destructionDetaches();
};

void TestFileDrag::splitName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("nameOnly");
    QTest::addColumn<QString>("extension");
    QTest::newRow("plain") << "/fonts/DEMO.TTF" << "DEMO.TTF" << "TTF";
    QTest::newRow("two dots") << "/f/a.b.ttf" << "a.b.ttf" << "b.ttf";
    QTest::newRow("trailing dot") << "/f/abc." << "abc." << "";
    QTest::newRow("two dots trailing") << "/f/a.b." << "a.b." << "b.";
    QTest::newRow("dots in folders") << "/my.fonts/v1.2/x.ttf" << "x.ttf" << "ttf";
    QTest::newRow("no dot") << "/my.fonts/README" << "README" << "";
    QTest::newRow("no separator") << "x.ttf" << "x.ttf" << "ttf";
    QTest::newRow("folder ends in separator") << "/f/x.ttf/" << "" << "";
    const QString longName = QString(196, QLatin1Char('n')) + QStringLiteral(".ttf");
    QTest::newRow("200 characters") << QStringLiteral("/f/") + longName << longName << "ttf";
}

void TestFileDrag::splitName()
{
    QFETCH(QString, name);
    QString nameOnly, extension;
    TFileDrag::SplitName(name, &nameOnly, &extension);
    QTEST(nameOnly, "nameOnly");
    QTEST(extension, "extension");
}

void TestFileDrag::startsNotAcceptingDrops()
{
    QWidget window;
    auto *drag = new TFileDrag(&window);
    QVERIFY(!drag->EnableDrop());
    QVERIFY(!window.acceptDrops());
    QCOMPARE(drag->FileCount(), 0);
    drag->setEnableDrop(true);
    QVERIFY(window.acceptDrops());
    drag->setEnableDrop(false);
    QVERIFY(!window.acceptDrops());
    // The published properties, in their order.
    const QMetaObject *meta = drag->metaObject();
    QStringList names;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names << QString::fromLatin1(meta->property(i).name());
    QCOMPARE(names, (QStringList{"NameWithPath", "NameOnly", "Extension", "FileCount", "EnableDrop", "OnDrop"}));
}

void TestFileDrag::dropFillsListsInOrder()
{
    QWidget window;
    auto *drag = new TFileDrag(&window);
    drag->setEnableDrop(true);
    int fired = 0;
    QObject *sender = nullptr;
    drag->setOnDrop([&](QObject *s) { ++fired; sender = s; });
    // Only local files count: the web address is left out.
    SendDrop(&window, {QUrl::fromLocalFile("/a/one.ttf"), QUrl("https://example.org/x.ttf"),
                       QUrl::fromLocalFile("/b/two.TXT"), QUrl::fromLocalFile("/c/three")});
    QCOMPARE(fired, 1);
    QCOMPARE(sender, drag);
    QCOMPARE(drag->FileCount(), 3);
    QCOMPARE(drag->NameWithPath(), (QStringList{"/a/one.ttf", "/b/two.TXT", "/c/three"}));
    QCOMPARE(drag->NameOnly(), (QStringList{"one.ttf", "two.TXT", "three"}));
    QCOMPARE(drag->Extension(), (QStringList{"ttf", "TXT", ""}));
    SendDrop(&window, {QUrl::fromLocalFile("/z/last.otf")}); // a second drop replaces all three lists
    QCOMPARE(fired, 2);
    QCOMPARE(drag->FileCount(), 1);
    QCOMPARE(drag->NameWithPath(), QStringList{"/z/last.otf"});
    QCOMPARE(drag->NameOnly(), QStringList{"last.otf"});
    QCOMPARE(drag->Extension(), QStringList{"otf"});
}

void TestFileDrag::otherEventsReachTheWindow()
{
    CountingWindow window;
    auto *drag = new TFileDrag(&window);
    drag->setEnableDrop(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.seen.clear();
    QTest::mouseClick(&window, Qt::LeftButton);
    QTest::keyClick(&window, Qt::Key_A);
    window.resize(300, 200);
    window.repaint();
    QCOMPARE(window.seen.value(QEvent::MouseButtonPress), 1);
    QCOMPARE(window.seen.value(QEvent::MouseButtonRelease), 1);
    QCOMPARE(window.seen.value(QEvent::KeyPress), 1);
    QVERIFY(window.seen.value(QEvent::Resize) >= 1);
    QVERIFY(window.seen.value(QEvent::Paint) >= 1);
    SendDrop(&window, {QUrl::fromLocalFile("/a/b.ttf")});
    QCOMPARE(window.seen.value(QEvent::Drop), 0); // the drop is the component's
}

void TestFileDrag::disabledDropsAreNotRead()
{
    CountingWindow window;
    auto *drag = new TFileDrag(&window);
    int fired = 0;
    drag->setOnDrop([&](QObject *) { ++fired; });
    drag->setEnableDrop(true);
    drag->setEnableDrop(false);
    SendDrop(&window, {QUrl::fromLocalFile("/a/b.ttf")});
    QCOMPARE(fired, 0);
    QCOMPARE(drag->FileCount(), 0);
    QTest::keyClick(&window, Qt::Key_A); // still hooked: other events pass as before
    QCOMPARE(window.seen.value(QEvent::KeyPress), 1);
}

void TestFileDrag::ownerWithoutWindow()
{
    QObject owner;
    auto *drag = new TFileDrag(&owner);
    drag->setEnableDrop(true);
    QVERIFY(!drag->EnableDrop());
    drag->ReadNames({QStringLiteral("/a/b.ttf")}); // reading names needs no window
    QCOMPARE(drag->Extension(), QStringList{"ttf"});
}

void TestFileDrag::destructionDetaches()
{
    CountingWindow window;
    auto *drag = new TFileDrag(&window);
    int fired = 0;
    drag->setOnDrop([&](QObject *) { ++fired; });
    drag->setEnableDrop(true);
    delete drag;
    QVERIFY(!window.acceptDrops());
    window.setAcceptDrops(true);
    SendDrop(&window, {QUrl::fromLocalFile("/a/b.ttf")});
    QCOMPARE(fired, 0);
    QCOMPARE(window.seen.value(QEvent::Drop), 1); // the window handles it itself now
}

QTEST_MAIN(TestFileDrag)
#include "tst_filedrag.moc"
