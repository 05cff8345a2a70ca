#include "fittedtext.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <functional>

namespace {
// The smallest font a caption is shrunk to.
constexpr int SmallestPixelSize = 6;
// QLineEdit keeps this much room on either side of its text, inside the style's contents.
constexpr int LineEditMargin = 2;

QStyle *fusionStyle()
{
    static QStyle *const fusion = [] {
        QStyle *style = QStyleFactory::create(QStringLiteral("Fusion"));
        if (style)
            style->setParent(qApp);
        return style;
    }();
    return fusion;
}

bool fitsIn(const QRect &room, const QFontMetrics &metrics, const QString &text)
{
    return metrics.horizontalAdvance(text) <= room.width() && metrics.tightBoundingRect(text).height() <= room.height();
}

// Tries the control's style, then Fusion (`restyled` undoes what the other style set on the
// control), then ever smaller fonts, until `fits` holds.
void fit(QWidget *control, const std::function<bool()> &fits, const std::function<void()> &restyled = {})
{
    if (fits())
        return;
    if (QStyle *fusion = fusionStyle()) {
        control->setStyle(fusion);
        if (restyled)
            restyled();
        if (fits())
            return;
    }
    QFont font = control->font();
    int pixels = QFontInfo(font).pixelSize();
    while (!fits() && pixels > SmallestPixelSize) {
        font.setPixelSize(--pixels);
        control->setFont(font);
    }
}
} // namespace

void keepTextInside(QPushButton *button)
{
    fit(button, [button] {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        if (button->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return fitsIn(room, button->fontMetrics(), button->text());
    });
}

void keepTextInside(QLineEdit *edit, const QString &widestText)
{
    fit(edit, [edit, widestText] {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.rect = edit->rect();
        option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        option.midLineWidth = 0;
        option.state |= QStyle::State_Sunken;
        const QMargins margins = edit->textMargins();
        const QRect room = edit->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                               .adjusted(margins.left() + LineEditMargin, margins.top(),
                                         -margins.right() - LineEditMargin, -margins.bottom());
        return fitsIn(room, edit->fontMetrics(), widestText);
    }, [edit] { edit->setTextMargins(QMargins()); }); // margins some styles give entry fields
}
