#include "tspinedit.h"

#include "fittedtext.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

#include <algorithm>
#include <limits>

namespace {
constexpr int ButtonWidth = 13;

QToolButton *makeArrowButton(QWidget *parent, Qt::ArrowType arrow, const char *name)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
} // namespace

TSpinEdit::TSpinEdit(QWidget *parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(this))
    , m_up(makeArrowButton(this, Qt::UpArrow, "up"))
    , m_down(makeArrowButton(this, Qt::DownArrow, "down"))
{
    m_edit->setObjectName(QStringLiteral("editor"));
    m_edit->setMouseTracking(true);
    m_edit->setAcceptDrops(false); // a file dropped here goes to the window's drop target
    m_edit->installEventFilter(this);
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_edit, &QLineEdit::textChanged, this, &TSpinEdit::Change);
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

int TSpinEdit::valueFromText(const QString &text, int minimum)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || text.isEmpty() || text.front().isSpace() || text.back().isSpace()
        || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return minimum;
    return int(value);
}

int TSpinEdit::Value() const
{
    return valueFromText(m_edit->text(), m_min);
}

void TSpinEdit::setValue(int value)
{
    setText(QString::number(value));
}

QString TSpinEdit::Text() const
{
    return m_edit->text();
}

void TSpinEdit::setText(const QString &text)
{
    m_edit->setText(text);
}

void TSpinEdit::stepBy(int delta)
{
    const qlonglong next = qlonglong(Value()) + delta;
    setValue(int(std::clamp<qlonglong>(next, m_min, m_max)));
}

void TSpinEdit::correctOnExit()
{
    const int value = Value();
    if (value < m_min)
        setValue(m_min);
    else if (value > m_max)
        setValue(m_max);
}

bool TSpinEdit::passesToEditor(QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Up:
        stepBy(+1);
        return false;
    case Qt::Key_Down:
        stepBy(-1);
        return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        refuse(); // like any other key the box does not take
        return false;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty() || text.front().unicode() < 0x20 || text.front().unicode() == 0x7F
        || key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste)
        || key->matches(QKeySequence::Cut) || key->matches(QKeySequence::SelectAll)
        || key->matches(QKeySequence::Undo))
        return true; // control keys and editing shortcuts
    const QChar ch = text.front();
    const QString decimalPoint = QLocale().decimalPoint();
    if (ch.isDigit() || ch == QLatin1Char('+') || ch == QLatin1Char('-') || text == decimalPoint)
        return true;
    refuse();
    return false;
}

void TSpinEdit::refuse()
{
    QApplication::beep();
    emit KeyRefused();
}

bool TSpinEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!passesToEditor(static_cast<QKeyEvent *>(event)))
                return true;
            break;
        case QEvent::FocusOut: {
            // Only the focus moving to another control corrects the value: not another window
            // becoming active, nor a menu opening.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                correctOnExit();
            break;
        }
        case QEvent::MouseMove:
            emit EntryMouseMove();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The text field and the arrows carry the box's name, so that whichever part a screen reader
// meets says what it is for.
void TSpinEdit::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_edit->setAccessibleName(accessibleName());
    m_edit->setAccessibleDescription(accessibleDescription().isEmpty() ? toolTip() : accessibleDescription());
    m_up->setAccessibleName(QStringLiteral("Increase ") + accessibleName());
    m_down->setAccessibleName(QStringLiteral("Decrease ") + accessibleName());
}

void TSpinEdit::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = width(), h = height();
    const int bw = std::min(ButtonWidth, w);
    m_edit->setGeometry(0, 0, w - bw, h);
    m_up->setGeometry(w - bw, 0, bw, h / 2);
    m_down->setGeometry(w - bw, h / 2, bw, h - h / 2);
    // The value the box shows when it gets its size (the form's) stays whole under any style.
    keepTextInside(m_edit, m_edit->text());
}
