#include "app/scaling_style.h"

#include <QApplication>
#include <QStyleFactory>
#include <QWidget>
#include <cmath>

#include "app/aspect_scaler.h"

namespace kolvio {

ScalingStyle::ScalingStyle(const QString& baseStyle) : QProxyStyle(baseStyle) {}

void ScalingStyle::Install() {
    if (qobject_cast<ScalingStyle*>(QApplication::style())) return;
    QApplication::setStyle(new ScalingStyle(QApplication::style()->name()));
}

qreal ScalingStyle::ScaleOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant scale = w->property(kScaleProperty);
        if (scale.isValid()) return scale.toReal();
    }
    return 1.0;
}

int ScalingStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    const int value = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
        case PM_ScrollBarExtent:
        case PM_ScrollBarSliderMin:
        case PM_HeaderMarkSize:
        case PM_TabBarTabHSpace:
        case PM_TabBarTabVSpace:
        case PM_SmallIconSize:
            return static_cast<int>(std::lround(value * ScaleOf(widget)));
        default:
            return value;
    }
}

QSize ScalingStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                     const QSize& contents, const QWidget* widget) const {
    const QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
    switch (type) {
        case CT_LineEdit:
        case CT_SpinBox:
        case CT_ComboBox:
        case CT_PushButton: {
            // The text grows with the font already; the frame and padding
            // around it grow here.
            const qreal scale = ScaleOf(widget);
            const QSize padding = (size - contents).expandedTo(QSize(0, 0));
            return contents + QSize(static_cast<int>(std::lround(padding.width() * scale)),
                                    static_cast<int>(std::lround(padding.height() * scale)));
        }
        default:
            return size;
    }
}

}  // namespace kolvio
