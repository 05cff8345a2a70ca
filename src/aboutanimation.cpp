#include "aboutanimation.h"

namespace about {

namespace {

// What the credits say, stored scrambled so that the text does not stand in the binary as
// plain text: "Tavoret 2.0 - enjoy\na good look at every\ncharacter of your fonts!"
const char StoredCredits[] =
        "\x83\x90\xA5\x9E\xA1\x94\xA3\x4F\x61\x5D\x5F\x4F\x5C\x4F\x94\x9D\x99\x9E\xA8\x39"
        "\x90\x4F\x96\x9E\x9E\x93\x4F\x9B\x9E\x9E\x9A\x4F\x90\xA3\x4F\x94\xA5\x94\xA1\xA8"
        "\x39\x92\x97\x90\xA1\x90\x92\xA3\x94\xA1\x4F\x9E\x95\x4F\xA8\x9E\xA4\xA1\x4F\x95"
        "\x9E\x9D\xA3\xA2\x50";

constexpr int CreditsShift = 47;

} // namespace

void pulseStep(int &size, int &step)
{
    if (size == PulseLargest)
        step = -1;
    if (size == PulseSmallest)
        step = +1;
    size += step;
}

int symbolOffset(int size)
{
    return PulseLargest + 8 - size;
}

int slideEndTop(int screenHeight, int dialogHeight)
{
    return (screenHeight - dialogHeight) / 2;
}

QByteArray scrambledCredits()
{
    return QByteArray(StoredCredits, sizeof StoredCredits - 1);
}

QString unscrambleCredits(const QByteArray &scrambled)
{
    QString plain;
    plain.reserve(scrambled.size());
    for (const char byte : scrambled)
        plain.append(QChar((static_cast<unsigned char>(byte) - CreditsShift + 256) % 256));
    return plain;
}

} // namespace about
