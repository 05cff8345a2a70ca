// The single-byte character set the chart shows: Windows-1252 for codes 32..255.
#pragma once

#include <QChar>

namespace charset {

// The character that single-byte code `code` (0..255) stands for. 0x80..0x9F follow the
// Windows-1252 table; its five unassigned codes map to the C1 control of the same number.
QChar ansiToUnicode(int code);
// The single-byte code of a character of that set, or -1 for a character outside it.
int unicodeToAnsi(QChar ch);

// The code point a symbol-encoded font (one with only a (3,0) cmap) files code `code` under.
inline char32_t symbolCodePoint(int code) { return 0xF000u + char32_t(code & 0xFF); }

} // namespace charset
