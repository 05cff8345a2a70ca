// Captions kept inside the rectangles the forms give their controls, under any Qt style and
// whatever face the interface font falls back to. A style with a wide frame and large margins
// (as some desktop themes have) would otherwise leave a small box room for a character or two.
#pragma once

#include <QString>

class QLineEdit;
class QPushButton;

// Where the style leaves too little room for the caption, the button is drawn in Qt's own
// Fusion style, whose margins are small; where even that is too little, its font is made
// smaller until the caption fits.
void keepTextInside(QPushButton *button);
// The same for an entry field, for `widestText` (what the field is to show in full).
void keepTextInside(QLineEdit *edit, const QString &widestText);
