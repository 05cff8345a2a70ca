// Colours the forms fix, kept readable whatever the desktop's theme: where a form fixes the
// colour behind a control's text and leaves the text to the theme, a dark theme would put its
// light text on the fixed light ground.
#pragma once

class QColor;
class QWidget;

// The contrast of two colours as the web's accessibility guidelines define it: 1 to 21.
double contrastRatio(const QColor &a, const QColor &b);

// For `form` and every control in it: a background its palette sets (base, window or button)
// whose text colour it leaves open gets black or white text, whichever reads better on it.
void fixTextOnFixedBackgrounds(QWidget *form);
