// The About box: credits unscrambling, pulse and slide rules, and the modal box driven the way a
// user drives it (OK by mouse press, click or Enter; close requests while it pulses; quitting).
#include "aboutanimation.h"
#include "tsymbollabel.h"
#include "unit2.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFrame>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Longest time from pressing OK to the box's closing: one pulse step (four 20 ms sleeps plus
// drawing) and generous room for a loaded machine or a sanitizer build.
constexpr qint64 OneStepWithSlackMs = 200;

bool isPulsing(const TAboutBox *box)
{
    return box->Label1->font().pointSize() < PulseLargest;
}

// Records every value a widget property takes, from the events that announce the changes.
class Recorder : public QObject
{
public:
    Recorder(QEvent::Type type, std::function<int()> read) : m_type(type), m_read(std::move(read)) {}
    QList<int> values;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            values.append(m_read());
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<int()> m_read;
};

// Opens the box with OpenAboutBox() and drives it: `onOpen` sees the new box before its
// animation starts, `onTick` is called every 5 ms while it is open; the test's actions happen
// there. With `fromMainLoop` the box is opened from within the application's event loop, as
// the main window does. A watchdog ends the pulsing after 10 s so that a failing test cannot
// hang. Afterwards the box's deferred release is carried out.
struct Opening
{
    std::function<void(TAboutBox *box)> onOpen;
    std::function<void(TAboutBox *box, qint64 ms)> onTick;
    bool fromMainLoop = false;
    QElapsedTimer clock;
    QPointer<TAboutBox> box;
    qint64 closedAt = -1;
    qint64 returnedAt = -1;
    bool timedOut = false;

    void run()
    {
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [this] {
            if (clock.elapsed() > 10000 && !timedOut) {
                timedOut = true;
                StopAnimation = 1;
                if (fromMainLoop)
                    QCoreApplication::exit(1);
            }
            if (box && closedAt < 0 && !timedOut && onTick)
                onTick(box, clock.elapsed());
        });
        auto open = [this] {
            // Posted before the box exists, so it runs before the box's own queued activation.
            QTimer::singleShot(0, [this] {
                box = AboutBox;
                QObject::connect(box, &QDialog::finished, [this] { closedAt = clock.elapsed(); });
                if (onOpen)
                    onOpen(box);
            });
            OpenAboutBox();
            returnedAt = clock.elapsed();
        };
        clock.start();
        ticker.start();
        if (fromMainLoop) {
            QTimer::singleShot(0, open);
            QCoreApplication::exec();
        } else {
            open();
        }
        ticker.stop();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

class TestAboutBox : public QObject
{
    Q_OBJECT

private slots:
    void unscramble_data();
    void unscramble();
    void storedCreditsAreReadable();
    void pulseRunsOneFullCycle();
    void slideEndTop_data();
    void slideEndTop();
    void formEssentials();
    void symbolFaceChoice_data();
    void symbolFaceChoice();
    void symbolIsAPictureFromAPrivateFont_data();
    void symbolIsAPictureFromAPrivateFont();
    void slidesOnePixelAtATimeToTheMiddle();
    void okEndsPulsingWithinOneStep_data();
    void okEndsPulsingWithinOneStep();
    void closeRequestsWhilePulsingAreOnlyRecorded_data();
    void closeRequestsWhilePulsingAreOnlyRecorded();
    void otherWindowsTakeNoInputWhileOpen();
    void quittingEndsPulsing();
    void secondOpeningStartsFresh();
};

void TestAboutBox::unscramble_data()
{
    QTest::addColumn<QByteArray>("scrambled");
    QTest::addColumn<QString>("plain");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("word") << QByteArray("w\x94\x9b\x9b\x9e") << QStringLiteral("Hello");
    QTest::newRow("line break and space") << QByteArray("9O") << QStringLiteral("\n ");
    QTest::newRow("code 47 gives 0") << QByteArray("/", 1) << QString(QChar(0));
    // Bytes below 47 wrap around to the top of the code range.
    QTest::newRow("code 0 wraps to 209") << QByteArray("\0", 1) << QString(QChar(0xD1));
    QTest::newRow("code 46 wraps to 255") << QByteArray("\x2E") << QString(QChar(0xFF));
    QTest::newRow("accented letter") << QByteArray("\x18\x9b\x94") << QStringLiteral("\u00E9le");
    QTest::newRow("top byte") << QByteArray("\xFF") << QString(QChar(0xD0));
}

void TestAboutBox::unscramble()
{
    QFETCH(QByteArray, scrambled);
    QFETCH(QString, plain);
    QCOMPARE(UnscrambleCredits(scrambled), plain);
}

void TestAboutBox::storedCreditsAreReadable()
{
    const QString credits = UnscrambleCredits(ScrambledCredits());
    QVERIFY(credits.contains(QLatin1String("Tavoret")));
    for (const QChar c : credits)
        QVERIFY2(c == QLatin1Char('\n') || c.isPrint(), qPrintable(credits));
}

void TestAboutBox::pulseRunsOneFullCycle()
{
    QList<int> expected;
    for (int size = 47; size >= 35; --size)
        expected << size;
    for (int size = 36; size <= 48; ++size)
        expected << size;
    expected << 47 << 46;

    int size = PulseLargest;
    int step = 12345;  // not yet set when the pulse starts
    QList<int> sizes;
    for (int i = 0; i < expected.size(); ++i) {
        PulseStep(size, step);
        sizes << size;
    }
    QCOMPARE(sizes, expected);
    // At 48 points the symbol stands where the form puts it; each point less moves it one
    // pixel right and down.
    QCOMPARE(SymbolOffset(48), 8);
    QCOMPARE(SymbolOffset(47), 9);
    QCOMPARE(SymbolOffset(35), 21);
}

void TestAboutBox::slideEndTop_data()
{
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<int>("dialogHeight");
    QTest::addColumn<int>("top");

    QTest::newRow("taller screen") << 768 << 224 << 272;
    QTest::newRow("odd room rounds down") << 600 << 251 << 174;
    QTest::newRow("exactly as tall") << 224 << 224 << 0;
    QTest::newRow("one pixel smaller") << 223 << 224 << 0;  // -0.5 rounds toward zero
    QTest::newRow("smaller screen") << 200 << 224 << -12;
    QTest::newRow("much smaller, odd") << 101 << 224 << -61;
}

void TestAboutBox::slideEndTop()
{
    QFETCH(int, screenHeight);
    QFETCH(int, dialogHeight);
    QFETCH(int, top);
    QCOMPARE(SlideEndTop(screenHeight, dialogHeight), top);
}

void TestAboutBox::formEssentials()
{
    TAboutBox box;
    QCOMPARE(AboutBox, &box);
    box.show();  // the symbol label takes its size when shown
    QCOMPARE(box.windowTitle(), QStringLiteral("About Tavoret"));
    QCOMPARE(box.size(), QSize(298, 224));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QCOMPARE(box.font().pixelSize(), 13);
    QVERIFY(box.font().bold());
    QCOMPARE(box.Version->text(), QStringLiteral("Version 2.0 for WinNT / 95"));
    QVERIFY(box.OKButton->isDefault());
    QCOMPARE(box.Label1->parentWidget(), box.Panel1);
    QCOMPARE(box.Label1->pos(), QPoint(8, 8));
    QCOMPARE(box.Label1->size(), box.Label1->sizeHint());  // sized to its text
    box.hide();
}

namespace {
const QString NoSuchFace = QStringLiteral("Tavoret No Such Face");
const QString OwnFontFile = QStringLiteral(":/about/aboutsymbol.ttf");
}

void TestAboutBox::symbolFaceChoice_data()
{
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<QString>("ownFile");
    QTest::addColumn<bool>("drawsOwn");

    QTest::newRow("installed face wins") << QStringList{"DejaVu Sans"} << OwnFontFile << false;
    QTest::newRow("installed stand-in wins")
            << QStringList{NoSuchFace, "DejaVu Sans"} << OwnFontFile << false;
    QTest::newRow("no face installed") << QStringList{NoSuchFace} << OwnFontFile << true;
    QTest::newRow("no own file") << QStringList{NoSuchFace} << QString() << false;
    QTest::newRow("own file unreadable") << QStringList{NoSuchFace} << ":/about/none.ttf" << false;
}

void TestAboutBox::symbolFaceChoice()
{
    QFETCH(QStringList, families);
    QFETCH(QString, ownFile);
    QFETCH(bool, drawsOwn);

    TAboutBox box;  // makes the program's resources available
    TSymbolLabel label;
    QFont font(QString(), 48);
    font.setFamilies(families);
    label.setFont(font);
    label.setText(QStringLiteral("\\"));
    label.setOwnFontFile(ownFile);
    QCOMPARE(label.drawsWithOwnFont(), drawsOwn);
}

// Whichever face the machine offers, and with the program's own font, the symbol must be a
// picture rather than a text face's backslash; the own font must stay out of the font
// database. At 48 points (64 pixels) the own font's symbol is the designed 57 x 71 pixels.
void TestAboutBox::symbolIsAPictureFromAPrivateFont_data()
{
    QTest::addColumn<bool>("forceOwnFont");
    QTest::newRow("faces of this machine") << false;
    QTest::newRow("own font") << true;
}

void TestAboutBox::symbolIsAPictureFromAPrivateFont()
{
    QFETCH(bool, forceOwnFont);

    const QStringList familiesBefore = QFontDatabase::families();
    QImage symbol;
    QImage plainBackslash;
    {
        TAboutBox box;
        if (forceOwnFont) {
            QFont font = box.Label1->font();
            font.setFamilies({NoSuchFace});
            box.Label1->setFont(font);
        }
        box.show();
        QVERIFY(!forceOwnFont || box.Label1->drawsWithOwnFont());
        if (box.Label1->drawsWithOwnFont())
            QCOMPARE(box.Label1->size(), QSize(57, 71));
        symbol = box.Label1->grab().toImage();

        QLabel plain(&box);
        plain.setFont(QFont(QStringLiteral("DejaVu Sans"), 48));
        plain.setPalette(box.Label1->palette());
        plain.setAutoFillBackground(true);
        plain.setAlignment(box.Label1->alignment());
        plain.setText(box.Label1->text());
        plain.setGeometry(box.Label1->geometry());
        plainBackslash = plain.grab().toImage();
        box.hide();
    }
    QCOMPARE(symbol.size(), plainBackslash.size());
    QVERIFY(symbol != plainBackslash);
    int lit = 0;
    for (int y = 0; y < symbol.height(); ++y)
        for (int x = 0; x < symbol.width(); ++x)
            lit += qGray(symbol.pixel(x, y)) > 250;
    QVERIFY2(lit > 200, qPrintable(QString::number(lit)));
    QCOMPARE(QFontDatabase::families(), familiesBefore);
}

void TestAboutBox::slidesOnePixelAtATimeToTheMiddle()
{
    Opening opening;
    std::unique_ptr<Recorder> moves;
    int topAtOpening = 0;
    int boxHeight = 0;
    int endTop = 0;
    int height = 0;
    opening.onOpen = [&](TAboutBox *box) {
        topAtOpening = box->pos().y();
        boxHeight = box->height();
        height = box->frameGeometry().height();
        moves = std::make_unique<Recorder>(QEvent::Move, [box] { return box->pos().y(); });
        box->installEventFilter(moves.get());
    };
    opening.onTick = [&](TAboutBox *box, qint64) {
        if (isPulsing(box)) {
            const QRect screen = PrimaryScreenGeometry();
            endTop = screen.top() + SlideEndTop(screen.height(), box->frameGeometry().height());
            QCOMPARE(box->pos().y(), endTop);
            QTest::mousePress(box->OKButton, Qt::LeftButton);
        }
    };
    opening.run();

    QVERIFY(!opening.timedOut);
    // Just above the screen; the frame's height is known only once the box is shown.
    QVERIFY(topAtOpening <= PrimaryScreenGeometry().top() - boxHeight);
    QVERIFY(moves && moves->values.size() > 10);
    const QList<int> &tops = moves->values;
    // The window system may report a move late, so the reports come slightly out of order;
    // what counts is that the box stood at every top between the start and the end.
    QCOMPARE(tops.first(), PrimaryScreenGeometry().top() - height);
    QCOMPARE(*std::min_element(tops.begin(), tops.end()), tops.first());
    QCOMPARE(*std::max_element(tops.begin(), tops.end()), endTop);
    const QSet<int> distinct(tops.begin(), tops.end());
    QCOMPARE(distinct.size(), endTop - tops.first() + 1);
}

void TestAboutBox::okEndsPulsingWithinOneStep_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("mouse press") << "press";
    QTest::newRow("click") << "click";
    QTest::newRow("Enter in the memo") << "enter";
    QTest::newRow("keypad Enter") << "keypad";
}

void TestAboutBox::okEndsPulsingWithinOneStep()
{
    QFETCH(QString, how);

    Opening opening;
    qint64 pressedAt = -1;
    QColor textAtClose;
    QColor backgroundAtClose;
    QColor dialogColour;
    opening.onTick = [&](TAboutBox *box, qint64 ms) {
        if (pressedAt >= 0 || !isPulsing(box))
            return;
        QObject::connect(box, &QDialog::finished, [&, box] {
            textAtClose = box->Label1->palette().color(QPalette::WindowText);
            backgroundAtClose = box->Label1->palette().color(QPalette::Window);
            dialogColour = box->palette().color(QPalette::Window);
        });
        QTest::mouseClick(box->Label1, Qt::LeftButton);  // black on white; it keeps pulsing
        QCOMPARE(box->Label1->palette().color(QPalette::Window), QColor(Qt::white));
        pressedAt = ms;
        if (how == "press")
            QTest::mousePress(box->OKButton, Qt::LeftButton);
        else if (how == "click")
            QTest::mouseClick(box->OKButton, Qt::LeftButton);
        else if (how == "enter")
            QTest::keyClick(box->Memo1, Qt::Key_Return);
        else
            QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(StopAnimation, 1);
        QVERIFY(box->isVisible());  // the close waits for the pulsing to end
    };
    opening.run();

    QVERIFY(!opening.timedOut);
    QVERIFY(pressedAt >= 0);
    QVERIFY(opening.closedAt >= pressedAt);
    const qint64 took = opening.closedAt - pressedAt;
    qDebug("%s: closed %lld ms after OK", qPrintable(how), took);
    QVERIFY2(took <= OneStepWithSlackMs, qPrintable(QString::number(took)));
    QVERIFY(opening.box.isNull());  // released after closing
    QVERIFY(!AboutBox);
    // A mouse press closes without restoring the symbol's colours; a click restores them.
    if (how == "press") {
        QCOMPARE(textAtClose, QColor(Qt::black));
        QCOMPARE(backgroundAtClose, QColor(Qt::white));
    } else {
        QCOMPARE(textAtClose, QColor(Qt::white));
        QCOMPARE(backgroundAtClose, dialogColour);
    }
}

void TestAboutBox::closeRequestsWhilePulsingAreOnlyRecorded_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("title bar") << "close";
    QTest::newRow("Escape") << "escape";
}

void TestAboutBox::closeRequestsWhilePulsingAreOnlyRecorded()
{
    QFETCH(QString, how);

    Opening opening;
    qint64 requestedAt = -1;
    qint64 pressedAt = -1;
    QSet<int> sizesAfterRequest;
    opening.onTick = [&](TAboutBox *box, qint64 ms) {
        if (!isPulsing(box) || pressedAt >= 0)
            return;
        if (requestedAt < 0) {
            requestedAt = ms;
            if (how == "close")
                QVERIFY(!box->close());
            else
                QTest::keyClick(box->Memo1, Qt::Key_Escape);
            return;
        }
        QVERIFY(box->isVisible());
        sizesAfterRequest.insert(box->Label1->font().pointSize());
        if (ms - requestedAt > 300) {
            pressedAt = ms;
            QTest::mousePress(box->OKButton, Qt::LeftButton);
        }
    };
    opening.run();

    QVERIFY(!opening.timedOut);
    QVERIFY(pressedAt >= 0);
    QVERIFY2(sizesAfterRequest.size() >= 3, "the symbol kept pulsing");
    QVERIFY(opening.closedAt - pressedAt <= OneStepWithSlackMs);
    QVERIFY(opening.box.isNull());
}

void TestAboutBox::otherWindowsTakeNoInputWhileOpen()
{
    QWidget mainWindow;
    QPushButton button(QStringLiteral("main"), &mainWindow);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    int clicks = 0;
    connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    // Sent to the window, as the window system delivers it, so that modality applies.
    auto clickThroughWindowSystem = [&] {
        QTest::mouseClick(mainWindow.windowHandle(), Qt::LeftButton, {},
                          button.mapTo(&mainWindow, button.rect().center()));
    };

    Opening opening;
    bool tried = false;
    opening.onTick = [&](TAboutBox *box, qint64) {
        if (tried || !isPulsing(box))
            return;
        tried = true;
        QCOMPARE(QApplication::activeModalWidget(), box);
        clickThroughWindowSystem();
        QTest::mousePress(box->OKButton, Qt::LeftButton);
    };
    opening.run();

    QVERIFY(tried);
    QCOMPARE(clicks, 0);
    clickThroughWindowSystem();  // and takes it again afterwards
    QCOMPARE(clicks, 1);
}

// A quit request (the platform's at log-out, or the application's own) must not leave the
// program spinning in the pulse: the box lets itself close, the pulsing ends within a step and
// the application's event loop ends.
void TestAboutBox::quittingEndsPulsing()
{
    Opening opening;
    opening.fromMainLoop = true;
    qint64 quitAt = -1;
    bool hiddenByQuit = false;
    opening.onTick = [&](TAboutBox *box, qint64 ms) {
        if (quitAt >= 0 || !isPulsing(box))
            return;
        quitAt = ms;
        QCoreApplication::quit();
        hiddenByQuit = !box->isVisible();
    };
    opening.run();

    QVERIFY(!opening.timedOut);
    QVERIFY(quitAt >= 0);
    QVERIFY(hiddenByQuit);
    QVERIFY(opening.returnedAt >= 0);
    QVERIFY(opening.closedAt - quitAt <= OneStepWithSlackMs);
    QVERIFY(opening.box.isNull());
}

void TestAboutBox::secondOpeningStartsFresh()
{
    Opening first;
    first.onTick = [](TAboutBox *box, qint64) {
        if (!isPulsing(box))
            return;
        QTest::mouseClick(box->Label1, Qt::LeftButton);
        QTest::mousePress(box->OKButton, Qt::LeftButton);  // closes without restoring colours
    };
    first.run();
    QVERIFY(!first.timedOut);
    QVERIFY(first.box.isNull());

    // The first look at the new box comes before its animation starts.
    TAboutBox *seen = nullptr;
    int sizeSeen = 0;
    QColor text, background, dialogColour;
    std::unique_ptr<Recorder> sizes;
    Opening second;
    second.onOpen = [&](TAboutBox *box) {
        seen = box;
        sizeSeen = box->Label1->font().pointSize();
        text = box->Label1->palette().color(QPalette::WindowText);
        background = box->Label1->palette().color(QPalette::Window);
        dialogColour = box->palette().color(QPalette::Window);
        sizes = std::make_unique<Recorder>(QEvent::FontChange,
                                           [box] { return box->Label1->font().pointSize(); });
        box->Label1->installEventFilter(sizes.get());
    };
    second.onTick = [&](TAboutBox *box, qint64) {
        if (sizes->values.size() >= 4)
            QTest::mouseClick(box->OKButton, Qt::LeftButton);
    };
    second.run();

    QVERIFY(!second.timedOut);
    QVERIFY(seen);
    QCOMPARE(sizeSeen, 48);
    QCOMPARE(text, QColor(Qt::white));
    QCOMPARE(background, dialogColour);
    QVERIFY(sizes->values.size() >= 4);
    QCOMPARE(sizes->values.mid(0, 3), QList<int>({47, 46, 45}));
}

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
