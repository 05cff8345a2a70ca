#include "trichedit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

#include <memory>
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
}

QByteArray TRichEdit::RtfFor(const QString &text, const QString &face, int points)
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
    ApplyFontToText();
}

void TRichEdit::setFontName(const QString &name)
{
    if (name.isEmpty())
        return;
    QFont f = font();
    f.setFamilies({name});
    setFont(f);
    ApplyFontToText();
}

QString TRichEdit::FontName() const
{
    return font().family();
}

void TRichEdit::ApplyFontToText()
{
    // The font must sit on the characters themselves for the copied HTML to name it.
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

int TRichEdit::SelStart() const
{
    return textCursor().selectionStart();
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
    // The editor's own mime data lists a fixed set of formats; copy them into plain mime data
    // so that the RTF is offered to other programs too.
    const std::unique_ptr<QMimeData> own(QTextEdit::createMimeDataFromSelection());
    auto *data = new QMimeData;
    for (const QString &format : own->formats())
        data->setData(format, own->data(format));
    const QString selected = textCursor().selection().toPlainText();
    data->setData(QStringLiteral("text/rtf"), RtfFor(selected, font().family(), qRound(font().pointSizeF())));
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
