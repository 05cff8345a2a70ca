// The logo's colour generator: a fixed linear congruential sequence that starts from the same
// state in every run, so the logo shows the same colours each time.
#pragma once

#include <QColor>
#include <cstdint>

namespace logo {

class Colours
{
public:
    // The sequence's next whole number, from 0 to 254.
    int nextNumber();
    // Three numbers, red then green then blue.
    QColor nextColour();

private:
    std::uint32_t m_state = 0;
};

} // namespace logo
