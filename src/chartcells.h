// Where each character code sits in the 16 x 14 chart, and the context menu's captions.
#pragma once

#include <QString>

namespace chart {

constexpr int ColCount = 16;
constexpr int RowCount = 14;
constexpr int FirstCode = 32;
constexpr int LastCode = FirstCode + ColCount * RowCount - 1;

// Code shown in cell (col, row): 32 + 16 * row + col.
int cellCode(int col, int row);
int cellCol(int code);
int cellRow(int code);
// The high hexadecimal digit of the codes in a row: the row's number plus 2, as the chart
// starts at code 32.
int highDigit(int row);

// "Dec: 0065" for code 65: decimal, padded with zeros to four digits.
QString decCaption(int code);
// "Hex: 41" for the cell in column 1, row 2: the row's high digit, then the column's.
QString hexCaption(int col, int row);

// What a cell shows with a symbol font: each character of the chart's set becomes the code
// point the font files that code's glyph under; other characters stay.
QString symbolText(const QString &text);

// How a cell shows its character: with the font's glyph for it, with the font's missing-glyph
// box, or (a symbol font) with the font's own symbol for the code.
enum class Shown { Glyph, Missing, Symbol };

// What a screen reader says for a cell: the character, its decimal and hexadecimal codes, e.g.
// "A, 65, hex 41"; blanks, the soft hyphen and codes with no character are named in words, and
// a character the font lacks is still named by its codes ("..., not in this font").
QString cellName(QChar character, int code, Shown shown);

} // namespace chart
