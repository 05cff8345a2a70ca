// The About box's animation and credits rules, as plain functions without widgets.
#pragma once

#include <QByteArray>
#include <QString>

namespace about {

// The symbol pulses between these sizes (points); at the largest it stands where the form
// places it, at (8, 8) inside its panel.
constexpr int PulseLargest = 48;
constexpr int PulseSmallest = 35;
// Between two pulse steps the box sleeps this many times for this long, handling events after
// each sleep: about 80 ms per step.
constexpr int PulseSleeps = 4;
constexpr int PulseSleepMs = 20;

// One step of the pulse: at the largest size the direction turns to shrinking, at the smallest
// to growing, then the size moves one point. Starting from 48 the sizes run
// 47, 46, ..., 35, 36, ..., 48, 47, ...; at 48 the direction need not be set yet.
void pulseStep(int &size, int &step);

// Left and top of the symbol label at a given size: it moves right and down by one pixel for
// each point it shrinks, so that it shrinks towards its lower right.
int symbolOffset(int size);

// Final top of the sliding box: half of the room the screen leaves, rounded toward zero.
// Negative when the screen is smaller than the box.
int slideEndTop(int screenHeight, int dialogHeight);

// The credits text as the program stores it: every character's code raised by 47, modulo 256.
QByteArray scrambledCredits();

// Undoes the scrambling: 47 is taken off every byte's code (modulo 256), and each resulting
// code is the character with that code (Latin-1).
QString unscrambleCredits(const QByteArray &scrambled);

} // namespace about
