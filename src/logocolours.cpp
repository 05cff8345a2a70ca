#include "logocolours.h"

namespace logo {

int Colours::nextNumber()
{
    m_state = m_state * 134775813u + 1u; // wraps modulo 2^32
    return int((std::uint64_t(m_state) * 255u) >> 32);
}

QColor Colours::nextColour()
{
    const int r = nextNumber();
    const int g = nextNumber();
    const int b = nextNumber();
    return QColor(r, g, b);
}

} // namespace logo
