#include "trichedit.h"
#include "interfacefonts.h"

#include <QKeyEvent>
#include <QMimeData>
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

QByteArray TRichEdit::rtfFor(const QString &text, const QString &face, int points)
{
    auto escape = [](const QString &s) {
        QByteArray out;
        for (const QChar ch : s) {
            const char16_t u = ch.unicode();
            if (u == '\\' || u == '{' || u == '}')
                out += '\\' + QByteArray(1, char(u));
            else if (u >= 0x20 && u < 0x80)
                out += char(u);
            else // Unicode escape with a '?' for readers without Unicode support
                out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
        return out;
    };
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil " + escape(face) + ";}}\\f0\\fs"
           + QByteArray::number(points * 2) + ' ' + escape(text) + "}";
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
    // The copy carries the face on its characters, as the formats that name fonts need it.
    QTextDocument copy;
    QTextCursor cursor(&copy);
    cursor.insertFragment(textCursor().selection());
    cursor.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setFontFamilies(QStringList{FontName()});
    format.setFontPointSize(font().pointSizeF());
    cursor.mergeCharFormat(format);
    const QTextDocumentFragment copied(&copy);

    // Plain text, and the two rich formats that name the face as given: HTML and RTF. Qt's ODF
    // writer is left out, as it names the installed family it resolves the face to (and that
    // lookup is the slow one); Markdown has no fonts at all.
    auto *data = new QMimeData;
    data->setText(copied.toPlainText());
    data->setHtml(copied.toHtml());
    data->setData(QStringLiteral("text/rtf"), rtfFor(copied.toPlainText(), FontName(), qRound(font().pointSizeF())));
    return data;
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
