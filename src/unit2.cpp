#include "unit2.h"

#include "aboutanimation.h"
#include "fixedcolours.h"
#include "platform/screen.h"
#include "platform/systemname.h"
#include "windowframe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QEventLoop>
#include <QMoveEvent>
#include <QTimer>

TAboutBox *AboutBox = nullptr;
int StopAnimation = 0;

namespace {

void processEvents()
{
    QCoreApplication::processEvents();
}

} // namespace

void openAboutBox(QWidget *parent)
{
    auto *box = new TAboutBox(parent); // released by itself once closed
    box->setWindowModality(Qt::ApplicationModal);
    box->hide();
    box->startAboveScreen();
    box->exec();
}

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
{
    AboutBox = this;
    setupUi(this);
    fixTextOnFixedBackgrounds(this);
    Version->setText(Version->text().arg(platform::systemName())); // the form's %1: the system
    setDialogFrameAndFont();
    offerSymbolFaces();
    centreMemoLines();
    centreOnScreen();
    connectHandlers();
    OKButton->setFocus(); // the default button, which a screen reader names first
    FormCreate();
}

TAboutBox::~TAboutBox()
{
    if (AboutBox == this)
        AboutBox = nullptr;
}

// What the form format cannot say: a fixed dialog frame and a font 13 pixels high, with the
// labels sized to their captions in it.
void TAboutBox::setDialogFrameAndFont()
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont dialogFont = font();
    dialogFont.setPixelSize(13);
    setFont(dialogFont);
    ProductName->adjustSize();
    Version->adjustSize();
}

// The symbol is the backslash of a symbol font, where it is a picture. The form names
// "Wingdings" at 48 points. Where that face is missing, URW's Dingbats face "D050000L" (package
// fonts-urw-base35, present on most systems along with Ghostscript; older systems call it
// "Dingbats") stands in: its backslash is an open-centred six-petal asterisk. Where neither is
// installed, the label draws the backslash with the program's own symbol font
// (resources/aboutsymbol.ttf, a rosette), read from the resources without ever being
// registered, so that it never shows among the installed fonts or changes their count. A plain
// text face is never used: it would show a mere backslash.
void TAboutBox::offerSymbolFaces()
{
    QFont symbolFont = Label1->font();
    symbolFont.setFamilies({QStringLiteral("Wingdings"), QStringLiteral("D050000L"),
                            QStringLiteral("Dingbats")});
    Label1->setFont(symbolFont);
}

void TAboutBox::centreMemoLines()
{
    QTextOption centred = Memo1->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    Memo1->document()->setDefaultTextOption(centred);
}

void TAboutBox::centreOnScreen()
{
    const QRect screen = platform::primaryScreenGeometry();
    move(screen.x() + (screen.width() - width()) / 2,
         screen.y() + (screen.height() - height()) / 2);
}

void TAboutBox::connectHandlers()
{
    connect(Label1, &TSymbolLabel::clicked, this, &TAboutBox::Label1Click);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
    connect(this, &QDialog::finished, this, &TAboutBox::FormClose);
    // One filter on the application sees both the OK button's mouse presses and releases and
    // the application's quit request.
    qApp->installEventFilter(this);
}

void TAboutBox::FormCreate()
{
    if (platform::programPlacesWindows())
        setTop(topAboveScreen());
}

void TAboutBox::FormActivate()
{
    m_animating = true;
    slideIn();
    Memo1->setPlainText(about::unscrambleCredits(about::scrambledCredits()));
    pulseUntilStopped();
    processEvents();
    m_animating = false;
    done(m_closeRecorded ? m_recordedResult : QDialog::Rejected);
}

// Slides in, one pixel per step, from just above the screen to the middle. The end is taken
// from the outer height at every step: a window manager frames the box only while it slides.
// Where the window system places windows itself, the box is simply where it puts it: a move
// per pixel would change nothing there but flood the connection.
void TAboutBox::slideIn()
{
    setSymbolPointSize(about::PulseLargest);
    if (!platform::programPlacesWindows())
        return;
    setTop(topAboveScreen());
    const QRect screen = platform::primaryScreenGeometry();
    for (int top = screen.top() - outerHeight(); top <= centredTop(screen) && !m_appQuitting; ++top) {
        processEvents();
        setTop(top);
    }
    m_slid = true;
    m_frameWhenCentred = windowFrameSize(*this);
}

void TAboutBox::pulseUntilStopped()
{
    StopAnimation = 0;
    int size = about::PulseLargest;
    int step = 0;
    do {
        about::pulseStep(size, step);
        setSymbolSize(size);
        processEvents();
        if (pulsingMustEnd())
            break;
        pauseBetweenPulseSteps();
    } while (!pulsingMustEnd());
}

// Waits in short slices, handling events as they come, so that OK is noticed within the pause
// and a screen reader's questions are answered at once rather than after a sleep.
void TAboutBox::pauseBetweenPulseSteps()
{
    for (int i = 0; i < about::PulseSleeps; ++i) {
        QEventLoop slice;
        QTimer::singleShot(about::PulseSleepMs, &slice, &QEventLoop::quit);
        slice.exec();
    }
}

void TAboutBox::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    const QSize frame = windowFrameSize(*this);
    if (!m_slid || frame == m_frameWhenCentred || !platform::programPlacesWindows())
        return;
    m_frameWhenCentred = frame;
    setTop(centredTop(platform::primaryScreenGeometry()));
}

void TAboutBox::Label1Click()
{
    QPalette colours = Label1->palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(colours);
}

void TAboutBox::OKButtonClick()
{
    // The dialog's own colour is the system's button face.
    QPalette colours = Label1->palette();
    colours.setColor(QPalette::Window, palette().color(QPalette::Window));
    colours.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(colours);
    StopAnimation = 1;
    processEvents();
    done(QDialog::Accepted);
}

void TAboutBox::OKButtonMouseDown()
{
    StopAnimation = 1;
    done(QDialog::Accepted);
}

// Released once control is back in the event loop, never inside one of its own handlers.
void TAboutBox::FormClose()
{
    deleteLater();
}

void TAboutBox::done(int result)
{
    if (m_animating) {
        m_closeRecorded = true;
        m_recordedResult = result;
        return;
    }
    QDialog::done(result);
}

// The animation starts once the box is on screen and the modal loop runs, so that the
// showing (default button, focus) is complete before it takes over.
void TAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activationQueued) {
        m_activationQueued = true;
        QMetaObject::invokeMethod(this, &TAboutBox::activateOnce, Qt::QueuedConnection);
    }
}

void TAboutBox::activateOnce()
{
    if (isVisible())
        FormActivate();
}

// A close from the title bar or the system menu is recorded and keeps the box open while the
// symbol pulses. When the whole application quits, the box lets itself be closed and the
// pulsing ends, so that a quit or a log-out is never held up by a spinning box.
void TAboutBox::closeEvent(QCloseEvent *event)
{
    if (m_animating && m_appQuitting) {
        event->accept();
        return;
    }
    QDialog::closeEvent(event);
}

// The box has no cancel button: Escape does nothing.
void TAboutBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qApp && event->type() == QEvent::Quit) {
        m_appQuitting = true;
    } else if (watched == OKButton) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            OKButtonMouseDown();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::startAboveScreen()
{
    if (platform::programPlacesWindows())
        setTop(topAboveScreen());
}

void TAboutBox::setTop(int top)
{
    move(pos().x(), top);
}

int TAboutBox::outerHeight() const
{
    return frameGeometry().height();
}

int TAboutBox::topAboveScreen() const
{
    return platform::primaryScreenGeometry().top() - outerHeight();
}

int TAboutBox::centredTop(const QRect &screen) const
{
    return screen.top() + about::slideEndTop(screen.height(), outerHeight());
}

void TAboutBox::setSymbolPointSize(int points)
{
    QFont symbolFont = Label1->font();
    symbolFont.setPointSize(points);
    Label1->setFont(symbolFont);
}

// The label moves as it changes size, so that it shrinks towards its lower right.
void TAboutBox::setSymbolSize(int points)
{
    setSymbolPointSize(points);
    Label1->move(about::symbolOffset(points), about::symbolOffset(points));
}

// Besides OK, the pulsing ends when the application quits or the box is no longer shown
// (nobody could press OK any more).
bool TAboutBox::pulsingMustEnd() const
{
    return StopAnimation == 1 || m_appQuitting || QCoreApplication::closingDown() || !isVisible();
}
