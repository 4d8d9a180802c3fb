// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColourBar.h"

#include <QAccessible>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

namespace {

// The desktop's own look, with a thumb far narrower than the one the style
// sizes for long documents and arrows narrow enough to leave the thumb most
// of the bar to travel in.
class NarrowThumbStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (metric) {
        case PM_ScrollBarSliderMin:
            return 5;
        case PM_ScrollBarExtent:
            // For a horizontal bar this is the width of each arrow.
            return 11;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control != CC_ScrollBar || !(option->state & State_Enabled))
            return;
        // A thumb this narrow, drawn light on a light track, is easily lost;
        // a dark mark over it reads at a glance.
        const QRect thumb = subControlRect(control, option, SC_ScrollBarSlider, widget);
        painter->fillRect(thumb.adjusted(1, 1, -1, -1), option->palette.color(QPalette::WindowText));
    }
};

} // namespace

ColourBar::ColourBar(int value, QWidget *parent)
    : QScrollBar(Qt::Horizontal, parent)
{
    setRange(0, 255);
    setValue(value);
    // One step per arrow click and per click in the track.
    setSingleStep(1);
    setPageStep(1);
    auto *style = new NarrowThumbStyle;
    style->setParent(this);
    setStyle(style);

    connect(this, &QScrollBar::sliderPressed, this, &ColourBar::showValue);
    connect(this, &QScrollBar::sliderMoved, this, &ColourBar::showValue);
    connect(this, &QScrollBar::sliderReleased, this, [] { QToolTip::hideText(); });
}

QString ColourBar::colourName(const QColor &colour)
{
    return QStringLiteral("red %1, green %2, blue %3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

void ColourBar::describeSwatch(QWidget *swatch, const QColor &colour)
{
    const QString name = colourName(colour);
    if (swatch->accessibleDescription() == name)
        return;
    swatch->setAccessibleDescription(name);
    QAccessibleEvent changed(swatch, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void ColourBar::showValue()
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect thumb = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    // Just below the thumb, where the hand that drags it does not cover it.
    QToolTip::showText(mapToGlobal(QPoint(thumb.center().x(), height() / 2)), QString::number(sliderPosition()),
                       this);
}
