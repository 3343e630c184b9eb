// The style that draws the parts of the controls Qt sizes in pixels (check
// box indicators, scroll bars, the padding of boxes and buttons) at the
// scale of the screen they are on, so that a scaled screen (AspectScaler)
// keeps its proportions down to the last pixel that matters. Outside a
// screen, and at scale 1, it is the style it wraps.
#pragma once

#include <QProxyStyle>

namespace kolvio {

class ScalingStyle final : public QProxyStyle {
    Q_OBJECT
public:
    // Wraps the style of the given name (the application's style).
    explicit ScalingStyle(const QString& baseStyle);

    // Makes ScalingStyle the application's style, wrapping the one in use.
    static void Install();
    // The scale of the screen `widget` is on (1 when it is on none).
    static qreal ScaleOf(const QWidget* widget);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override;
};

}  // namespace kolvio
