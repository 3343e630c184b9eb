// The aspect-keeping resize of a screen: one scale factor from the screen's
// size against the size its layout was made for, applied to the fonts, the
// fixed sizes and the spacing of every widget in it. The layouts stay as
// they are, so a larger window shows the same screen, larger, and a smaller
// one the same screen, smaller, never cut off.
//
// The sizes at factor 1 are taken from the widgets when the first factor is
// applied, so a screen is complete by then (its first show). Widgets made
// later follow through the fonts they inherit.
#pragma once

#include <QHash>
#include <QMargins>
#include <QPointer>
#include <QSize>

class QLayout;
class QWidget;

namespace kolvio {

// The property of the root that holds its factor (ScalingStyle reads it).
inline constexpr char kScaleProperty[] = "kolvioScale";

class AspectScaler {
public:
    explicit AspectScaler(QWidget* root) : root_(root) {}

    // The factor for an area of `size` whose layout was made for
    // `reference`: the smaller of the two ratios (so that everything fits),
    // kept between 0.5 and 4.
    static qreal FactorFor(QSize size, QSize reference);

    // Scales the root and every widget in it to `factor` times its size at
    // factor 1. A change below half a percent is not worth a new layout.
    void apply(qreal factor);
    qreal factor() const { return factor_; }

private:
    struct WidgetSizes {
        QPointer<QWidget> widget;
        qreal fontSize = 0;  // points, or pixels when pixelFont; 0: inherited
        bool pixelFont = false;
        QSize minimum;       // 0 where not set
        QSize maximum;       // QWIDGETSIZE_MAX where not set
        bool fixed = false;  // a minimum or maximum was set
    };
    struct LayoutSizes {
        QPointer<QLayout> layout;
        int horizontal = -1;  // spacing; -1 for a layout without it
        int vertical = -1;
        QMargins margins;
    };

    void takeSizes();
    void takeLayout(QLayout* layout);

    QWidget* root_;
    qreal factor_ = 1.0;
    bool taken_ = false;
    QList<WidgetSizes> widgets_;
    QList<LayoutSizes> layouts_;
};

}  // namespace kolvio
