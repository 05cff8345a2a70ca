// The About box: credits unscrambling, pulse and slide rules, its own symbol font, and the
// modal box driven the way a user drives it.
#include "aboutanimation.h"
#include "platform/fonttable.h"
#include "initialise.h"
#include "tsymbollabel.h"
#include "platform/screen.h"
#include "testsupport.h"
#include "unit2.h"

#include <QFontDatabase>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <functional>

// Something done to the open box while its symbol pulses.
using BoxAction = std::function<void(TAboutBox *)>;
Q_DECLARE_METATYPE(BoxAction)

namespace {

// A press alone ends the pulsing; the box keeps the colours the symbol was clicked to.
void pressOk(TAboutBox *box)
{
    QTest::mousePress(box->OKButton, Qt::LeftButton);
}

void clickOkThroughWindow(TAboutBox *box)
{
    QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {},
                      box->OKButton->mapTo(box, box->OKButton->rect().center()));
}

void pressEnterInMemo(TAboutBox *box)
{
    QTest::keyClick(box->Memo1, Qt::Key_Return);
}

void pressKeypadEnter(TAboutBox *box)
{
    QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
}

void closeFromTitleBar(TAboutBox *box)
{
    box->close();
}

void pressEscape(TAboutBox *box)
{
    QTest::keyClick(box->Memo1, Qt::Key_Escape);
}

void quitApplication(TAboutBox *)
{
    QCoreApplication::quit();
}

} // namespace


class TestAboutBox : public QObject
{
    Q_OBJECT

private slots:
    // The box is set up as the program sets it up: resources, installed interface fonts.
    void initTestCase()
    {
        platform::FontTable fonts;
        initialiseApplication(fonts);
    }

    void unscramble_data()
    {
        QTest::addColumn<QByteArray>("scrambled");
        QTest::addColumn<QString>("plain");
        QTest::newRow("word") << QByteArray("w\x94\x9b\x9b\x9e") << QStringLiteral("Hello");
        QTest::newRow("line break, space") << QByteArray("9O") << QStringLiteral("\n ");
        QTest::newRow("47 gives 0") << QByteArray("/", 1) << QString(QChar(0));
        QTest::newRow("0 wraps to 209") << QByteArray("\0", 1) << QString(QChar(0xD1));
        QTest::newRow("46 wraps to 255") << QByteArray("\x2E") << QString(QChar(0xFF));
        QTest::newRow("top byte") << QByteArray("\xFF") << QString(QChar(0xD0));
        QTest::newRow("stored credits") << about::scrambledCredits() << QStringLiteral(
                "Tavoret 2.0 - enjoy\na good look at every\ncharacter of your fonts!");
    }
    void unscramble()
    {
        QFETCH(QByteArray, scrambled);
        QFETCH(QString, plain);
        QCOMPARE(about::unscrambleCredits(scrambled), plain);
    }

    // 48 down to 35 and back; at 48 points the symbol stands at the form's (8, 8), and each
    // point less moves it a pixel right and down, so that it shrinks towards its lower right.
    void pulseRunsOneFullCycle()
    {
        int size = about::PulseLargest;
        int step = 12345;  // the direction is not yet set when the pulse starts
        QList<int> sizes, offsets;
        for (int i = 0; i < 27; ++i) {
            about::pulseStep(size, step);
            sizes << size;
            offsets << about::symbolOffset(size);
        }
        QCOMPARE(sizes, QList<int>({47, 46, 45, 44, 43, 42, 41, 40, 39, 38, 37, 36, 35, 36,
                                    37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 47}));
        QCOMPARE(offsets, QList<int>({9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 20,
                                      19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 9}));
    }

    void slideEndTop_data()
    {
        QTest::addColumn<int>("screenHeight");
        QTest::addColumn<int>("dialogHeight");
        QTest::addColumn<int>("top");
        QTest::newRow("taller screen") << 768 << 224 << 272;
        QTest::newRow("odd room rounds down") << 600 << 251 << 174;
        QTest::newRow("exactly as tall") << 224 << 224 << 0;
        QTest::newRow("one pixel smaller") << 223 << 224 << 0;  // -0.5 rounds toward zero
        QTest::newRow("smaller screen") << 200 << 224 << -12;
    }
    void slideEndTop()
    {
        QFETCH(int, screenHeight);
        QFETCH(int, dialogHeight);
        QFETCH(int, top);
        QCOMPARE(about::slideEndTop(screenHeight, dialogHeight), top);
    }

    // An installed face wins; without one the box's own file draws the symbol at its designed
    // size. Either way the own font never joins the installed fonts.
    void symbolFont_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("drawsOwn");
        QTest::newRow("installed face") << "DejaVu Sans" << false;
        QTest::newRow("no face installed") << "Tavoret No Such Face" << true;
    }
    void symbolFont()
    {
        QFETCH(QString, family);
        QFETCH(bool, drawsOwn);
        const QStringList familiesBefore = QFontDatabase::families();
        TAboutBox box;
        QFont font = box.Label1->font();
        font.setFamilies({family});
        box.Label1->setFont(font);
        box.show();
        QCOMPARE(box.Label1->drawsWithOwnFont(), drawsOwn);
        if (drawsOwn)
            QCOMPARE(box.Label1->size(), QSize(57, 71));
        box.hide();
        QCOMPARE(QFontDatabase::families(), familiesBefore);
    }

    // The version line names the system the program runs on.
    void versionNamesTheSystem()
    {
        TAboutBox box;
        QCOMPARE(box.Version->text(), QStringLiteral("Version 2.0 for Linux"));
    }

    // A click on the symbol turns it black on white; the box's other colours stay.
    void clickingTheSymbolTurnsItBlackOnWhite()
    {
        TAboutBox box;
        box.show(); // no events processed: its activation would start the pulsing
        QTest::mouseClick(box.Label1, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(box.Label1->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(box.Label1->palette().color(QPalette::WindowText), QColor(Qt::black));
        box.hide();
    }

    // OK ends the pulsing within one step once the box has slid to the middle of the screen,
    // and the box closes and is released. A close from the title bar or Escape while the
    // symbol pulses is only recorded: it keeps pulsing. Quitting the application ends the
    // pulsing too. Every box starts at 48 points (its first step is 47) in the designed
    // colours, also after the first row's box closed with the symbol still black on white.
    void okEndsPulsing_data()
    {
        QTest::addColumn<BoxAction>("request");
        QTest::addColumn<BoxAction>("ending");
        QTest::newRow("mouse press") << BoxAction() << BoxAction(pressOk);
        QTest::newRow("click through the window") << BoxAction() << BoxAction(clickOkThroughWindow);
        QTest::newRow("Enter in the memo") << BoxAction() << BoxAction(pressEnterInMemo);
        QTest::newRow("keypad Enter") << BoxAction() << BoxAction(pressKeypadEnter);
        QTest::newRow("title bar close, then OK") << BoxAction(closeFromTitleBar) << BoxAction(pressOk);
        QTest::newRow("Escape, then OK") << BoxAction(pressEscape) << BoxAction(pressOk);
        QTest::newRow("application quits") << BoxAction() << BoxAction(quitApplication);
    }
    void okEndsPulsing()
    {
        QFETCH(BoxAction, request);
        QFETCH(BoxAction, ending);
        testsupport::AboutBoxOpening opening;
        int endedAt = -1; // the pulse steps taken when the ending came
        QSet<int> sizes;
        opening.whilePulsing = [&](TAboutBox *box) {
            const QRect screen = platform::primaryScreenGeometry();
            const int height = box->frameGeometry().height();
            QCOMPARE(box->y(), screen.top() + about::slideEndTop(screen.height(), height));
            if (sizes.isEmpty()) {
                const QPalette colours = box->Label1->palette();
                QCOMPARE(box->Label1->font().pointSize(), 47);
                QCOMPARE(colours.color(QPalette::WindowText), QColor(Qt::white));
                QCOMPARE(colours.color(QPalette::Window), box->palette().color(QPalette::Window));
                QTest::mouseClick(box->Label1, Qt::LeftButton);  // black on white
                if (request)
                    request(box);
            }
            sizes.insert(box->Label1->font().pointSize());
            if (endedAt >= 0 || (request && sizes.size() < 4))  // it must keep pulsing
                return;
            endedAt = opening.pulseSteps;
            ending(box);
        };
        opening.run();
        QVERIFY2(opening.closesWithinOneStep(endedAt),
                 qPrintable(QString::number(opening.pulseSteps - endedAt) + " steps after the ending"));
        QVERIFY(opening.box.isNull());
        QVERIFY(!AboutBox);
    }

    // While the symbol pulses the box answers at once, not after a pause: a screen reader asks
    // one question after another, and each answer that waited for the end of a pause made the
    // box speak seconds late. Twenty questions in a row are answered within a pulse step.
    void answersAtOnceWhilePulsing()
    {
        testsupport::AboutBoxOpening opening;
        int asked = 0, askedAtStep = -1, answeredAtStep = -1;
        std::function<void()> ask = [&] {
            if (++asked < 20)
                QMetaObject::invokeMethod(qApp, ask, Qt::QueuedConnection);
            else
                answeredAtStep = opening.pulseSteps;
        };
        opening.whilePulsing = [&](TAboutBox *box) {
            if (asked == 0) {
                askedAtStep = opening.pulseSteps;
                ask();
            } else if (answeredAtStep >= 0) {
                pressOk(box);
            }
        };
        opening.run();
        QVERIFY2(answeredAtStep >= 0 && answeredAtStep - askedAtStep <= 1,
                 qPrintable(QStringLiteral("answered %1 steps later").arg(answeredAtStep - askedAtStep)));
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
