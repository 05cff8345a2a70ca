#include "chartcells.h"

namespace chart {

int CellCode(int col, int row)
{
    return 16 * (row + 2) + col;
}

int CellCol(int code)
{
    return code % 16;
}

int CellRow(int code)
{
    return code / 16 - 2;
}

QString DecCaption(int code)
{
    QString digits = QString::number(code);
    // Two passes of zero padding: enough for every code of the chart (32..255).
    if (digits.length() < 4)
        digits.prepend(QLatin1Char('0'));
    if (digits.length() < 4)
        digits.prepend(QLatin1Char('0'));
    return QStringLiteral("Dec: ") + digits;
}

QString HexCaption(int col, int row)
{
    const char *digits = "0123456789ABCDEF";
    return QStringLiteral("Hex: ") + QLatin1Char(digits[(row + 2) & 15]) + QLatin1Char(digits[col & 15]);
}

} // namespace chart
