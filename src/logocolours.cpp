#include "logocolours.h"

int LogoColours::Draw()
{
    m_state = m_state * 134775813u + 1u; // wraps modulo 2^32
    return int((std::uint64_t(m_state) * 255u) >> 32);
}

QColor LogoColours::NextColour()
{
    const int r = Draw();
    const int g = Draw();
    const int b = Draw();
    return QColor(r, g, b);
}
