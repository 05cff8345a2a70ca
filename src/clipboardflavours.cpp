#include "clipboardflavours.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace clipboard {

QByteArray rtfFor(const QString &text, const QString &face, int points)
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

QMimeData *flavoursOf(const QTextDocumentFragment &selection, const QString &face, qreal points)
{
    // The copy carries the face on its characters, as the formats that name fonts need it.
    QTextDocument copy;
    QTextCursor cursor(&copy);
    cursor.insertFragment(selection);
    cursor.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setFontFamilies(QStringList{face});
    format.setFontPointSize(points);
    cursor.mergeCharFormat(format);
    const QTextDocumentFragment copied(&copy);

    // Plain text, and the two rich formats that name the face as given: HTML and RTF. Qt's ODF
    // writer is left out, as it names the installed family it resolves the face to (and that
    // lookup is the slow one); Markdown has no fonts at all.
    auto *data = new QMimeData;
    data->setText(copied.toPlainText());
    data->setHtml(copied.toHtml());
    data->setData(QStringLiteral("text/rtf"), rtfFor(copied.toPlainText(), face, qRound(points)));
    return data;
}

} // namespace clipboard
