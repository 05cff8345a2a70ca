// The About box on a real X server: its animation starts by itself once the box is shown, the
// box slides to the middle of the screen, and a click on OK delivered by the window system ends
// the pulsing within a step and closes the box.
#include "aboutanimation.h"
#include "tsymbollabel.h"
#include "unit2.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestAboutBoxX11 : public QObject
{
    Q_OBJECT

private slots:
    void slidesInPulsesAndClosesOnOk();
};

void TestAboutBoxX11::slidesInPulsesAndClosesOnOk()
{
    QWidget mainWindow;
    mainWindow.resize(640, 480);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

    QElapsedTimer clock;
    QPointer<TAboutBox> box;
    qint64 pressedAt = -1;
    qint64 closedAt = -1;
    int topWhenPulsing = 0;
    int middleTop = 0;
    QTimer ticker;
    ticker.setInterval(5);
    connect(&ticker, &QTimer::timeout, [&] {
        if (!AboutBox || pressedAt >= 0)
            return;
        if (clock.elapsed() > 10000) {  // never hang, even when the box fails
            StopAnimation = 1;
            return;
        }
        if (!box) {
            box = AboutBox;
            connect(box, &QDialog::finished, [&] { closedAt = clock.elapsed(); });
        }
        if (box->Label1->font().pointSize() >= PulseLargest)
            return;  // not pulsing yet
        const QRect screen = PrimaryScreenGeometry();
        middleTop = screen.top() + SlideEndTop(screen.height(), box->frameGeometry().height());
        topWhenPulsing = box->pos().y();
        pressedAt = clock.elapsed();
        QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {},
                          box->OKButton->geometry().center());
    });
    clock.start();
    ticker.start();
    OpenAboutBox();
    ticker.stop();

    QVERIFY(pressedAt >= 0);
    QVERIFY(pressedAt < 10000);
    QCOMPARE(topWhenPulsing, middleTop);
    QVERIFY2(closedAt - pressedAt <= 200, qPrintable(QString::number(closedAt - pressedAt)));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(box.isNull());
}

QTEST_MAIN(TestAboutBoxX11)
#include "tst_aboutbox_x11.moc"
