#include "trichedit.h"

#include "clipboardflavours.h"

#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

TRichEdit::TRichEdit(QWidget *parent)
    : QTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setAcceptRichText(false);
    setAcceptDrops(false); // a file dropped here goes to the window's drop target
    setProperty("showsNamedFace", true);
}

QString TRichEdit::Text() const
{
    return toPlainText();
}

void TRichEdit::setText(const QString &text)
{
    setPlainText(text);
    applyFontToText();
}

void TRichEdit::setFontName(const QString &name)
{
    if (!name.isEmpty())
        m_faceName.setName(name);
}

QString TRichEdit::FontName() const
{
    return m_faceName.nameFor(this);
}

void TRichEdit::changeEvent(QEvent *event)
{
    // The text edit would lay its text out in a named face at once: it gets the installed
    // family instead.
    if (event->type() == QEvent::FontChange && m_faceName.takeFontOf(this))
        return;
    QTextEdit::changeEvent(event);
}

void TRichEdit::applyFontToText()
{
    // The box's own font on the characters, so that its size holds whatever was typed or set.
    QTextCharFormat format;
    format.setFontFamilies(QStringList{font().family()});
    format.setFontPointSize(font().pointSizeF());
    const QTextCursor keep = textCursor();
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(format);
    mergeCurrentCharFormat(format);
    setTextCursor(keep);
}

int TRichEdit::SelLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TRichEdit::setSelStart(int start)
{
    QTextCursor c = textCursor();
    c.setPosition(qBound(0, start, document()->characterCount() - 1));
    setTextCursor(c);
}

void TRichEdit::setSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(qBound(0, start + length, document()->characterCount() - 1), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QMimeData *TRichEdit::createMimeDataFromSelection() const
{
    return clipboard::flavoursOf(textCursor().selection(), FontName(), font().pointSizeF());
}

void TRichEdit::keyPressEvent(QKeyEvent *event)
{
    // One line only: Enter never becomes a line break.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QTextEdit::keyPressEvent(event);
}
