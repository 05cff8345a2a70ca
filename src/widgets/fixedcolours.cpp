#include "fixedcolours.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

#include <cmath>
#include <utility>

namespace {
double relativeLuminance(const QColor &colour)
{
    auto channel = [](double value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

constexpr std::pair<QPalette::ColorRole, QPalette::ColorRole> TextOnGround[] = {
    {QPalette::Base, QPalette::Text},
    {QPalette::Window, QPalette::WindowText},
    {QPalette::Button, QPalette::ButtonText},
};

void fixTextOf(QWidget *control)
{
    QPalette palette = control->palette();
    bool changed = false;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (const auto &[ground, text] : TextOnGround) {
            if (!palette.isBrushSet(group, ground) || palette.isBrushSet(group, text))
                continue;
            const QColor behind = palette.color(group, ground);
            const bool dark = contrastRatio(behind, Qt::black) >= contrastRatio(behind, Qt::white);
            palette.setColor(group, text, dark ? Qt::black : Qt::white);
            changed = true;
        }
    }
    if (changed)
        control->setPalette(palette);
}
} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    double lighter = relativeLuminance(a), darker = relativeLuminance(b);
    if (lighter < darker)
        std::swap(lighter, darker);
    return (lighter + 0.05) / (darker + 0.05);
}

void fixTextOnFixedBackgrounds(QWidget *form)
{
    fixTextOf(form);
    const QList<QWidget *> controls = form->findChildren<QWidget *>();
    for (QWidget *control : controls)
        fixTextOf(control);
}
