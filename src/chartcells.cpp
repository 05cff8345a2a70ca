#include "chartcells.h"

#include "charset.h"

#include <string>

namespace chart {

int highDigit(int row)
{
    return row + FirstCode / ColCount;
}

int cellCode(int col, int row)
{
    return ColCount * highDigit(row) + col;
}

int cellCol(int code)
{
    return code % ColCount;
}

int cellRow(int code)
{
    return code / ColCount - highDigit(0);
}

QString decCaption(int code)
{
    QString digits = QString::number(code);
    // Two passes of zero padding: enough for every code of the chart (32..255).
    if (digits.length() < 4)
        digits.prepend(QLatin1Char('0'));
    if (digits.length() < 4)
        digits.prepend(QLatin1Char('0'));
    return QStringLiteral("Dec: ") + digits;
}

QString hexCaption(int col, int row)
{
    const char *digits = "0123456789ABCDEF";
    return QStringLiteral("Hex: ") + QLatin1Char(digits[highDigit(row) & 15]) + QLatin1Char(digits[col & 15]);
}

QString symbolText(const QString &text)
{
    QString shown;
    for (const QChar ch : text) {
        const int code = charset::unicodeToAnsi(ch);
        if (code < 0)
            shown += ch;
        else
            shown += QString::fromUcs4(std::u32string(1, charset::symbolCodePoint(code)).data(), 1);
    }
    return shown;
}

QString cellName(QChar character, int code, Shown shown)
{
    QString what;
    if (shown == Shown::Symbol)
        what = QStringLiteral("symbol");
    else if (code == 0x20)
        what = QStringLiteral("space");
    else if (code == 0xA0)
        what = QStringLiteral("no-break space");
    else if (code == 0xAD)
        what = QStringLiteral("soft hyphen");
    else if (character.category() == QChar::Other_Control)
        what = QStringLiteral("unassigned");
    else
        what = QString(character);
    const QString hex = QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    return what + QStringLiteral(", %1, hex %2").arg(code).arg(hex)
           + (shown == Shown::Missing ? QStringLiteral(", not in this font") : QString());
}

} // namespace chart
