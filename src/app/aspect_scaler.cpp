#include "app/aspect_scaler.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QWidget>
#include <cmath>

namespace kolvio {

namespace {

constexpr qreal kMinFactor = 0.5;
constexpr qreal kMaxFactor = 4.0;
constexpr qreal kNoticeable = 0.005;

// Qt's own parts of compound widgets (a spin box's line edit, a tab
// widget's stack) size themselves.
bool QtInternal(const QObject* object) {
    return object->objectName().startsWith(QLatin1String("qt_"));
}

int Scaled(int value, qreal factor) {
    return static_cast<int>(std::lround(value * factor));
}

int ScaledLimit(int value, qreal factor) {
    return value >= QWIDGETSIZE_MAX ? QWIDGETSIZE_MAX : Scaled(value, factor);
}

}  // namespace

qreal AspectScaler::FactorFor(QSize size, QSize reference) {
    if (size.isEmpty() || reference.isEmpty()) return 1.0;
    const qreal byWidth = static_cast<qreal>(size.width()) / reference.width();
    const qreal byHeight = static_cast<qreal>(size.height()) / reference.height();
    return std::clamp(std::min(byWidth, byHeight), kMinFactor, kMaxFactor);
}

void AspectScaler::takeLayout(QLayout* layout) {
    if (!layout) return;
    LayoutSizes sizes;
    sizes.layout = layout;
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        sizes.horizontal = grid->horizontalSpacing();
        sizes.vertical = grid->verticalSpacing();
    } else if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        sizes.horizontal = form->horizontalSpacing();
        sizes.vertical = form->verticalSpacing();
    } else if (qobject_cast<QBoxLayout*>(layout)) {
        sizes.horizontal = layout->spacing();
    }
    sizes.margins = layout->contentsMargins();
    layouts_.append(sizes);
    for (int i = 0; i < layout->count(); ++i)
        takeLayout(layout->itemAt(i)->layout());
}

void AspectScaler::takeSizes() {
    QList<QWidget*> all{root_};
    all += root_->findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (w != root_ && (w->isWindow() || QtInternal(w))) continue;
        WidgetSizes sizes;
        sizes.widget = w;
        // The root carries the size every other widget inherits; a widget
        // with a size of its own (a caption label) keeps its proportion.
        const QFont font = w->font();
        if (w == root_ ||
            (w->testAttribute(Qt::WA_SetFont) && (font.resolveMask() & QFont::SizeResolved))) {
            sizes.pixelFont = font.pointSizeF() <= 0;
            sizes.fontSize = sizes.pixelFont ? font.pixelSize() : font.pointSizeF();
        }
        sizes.minimum = w->minimumSize();
        sizes.maximum = w->maximumSize();
        // The root's own size is the window's business.
        sizes.fixed = w != root_ && (!sizes.minimum.isNull() ||
                                     sizes.maximum != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        if (sizes.fontSize > 0 || sizes.fixed) widgets_.append(sizes);
        takeLayout(w->layout());
    }
}

void AspectScaler::apply(qreal factor) {
    factor = std::clamp(factor, kMinFactor, kMaxFactor);
    if (!taken_) {
        takeSizes();
        taken_ = true;
    }
    if (std::abs(factor - factor_) < kNoticeable) return;
    factor_ = factor;
    root_->setProperty(kScaleProperty, factor);
    for (const WidgetSizes& s : widgets_) {
        QWidget* w = s.widget;
        if (!w) continue;
        if (s.fontSize > 0) {
            QFont font = w->font();
            if (s.pixelFont) {
                font.setPixelSize(std::max(1, Scaled(static_cast<int>(s.fontSize), factor)));
            } else {
                font.setPointSizeF(std::max(1.0, s.fontSize * factor));
            }
            w->setFont(font);
        }
        if (!s.fixed) continue;
        w->setMinimumSize(Scaled(s.minimum.width(), factor), Scaled(s.minimum.height(), factor));
        w->setMaximumSize(ScaledLimit(s.maximum.width(), factor),
                          ScaledLimit(s.maximum.height(), factor));
    }
    for (const LayoutSizes& s : layouts_) {
        QLayout* layout = s.layout;
        if (!layout) continue;
        if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
            grid->setHorizontalSpacing(Scaled(s.horizontal, factor));
            grid->setVerticalSpacing(Scaled(s.vertical, factor));
        } else if (auto* form = qobject_cast<QFormLayout*>(layout)) {
            form->setHorizontalSpacing(Scaled(s.horizontal, factor));
            form->setVerticalSpacing(Scaled(s.vertical, factor));
        } else if (s.horizontal >= 0) {
            layout->setSpacing(Scaled(s.horizontal, factor));
        }
        const QMargins& m = s.margins;
        layout->setContentsMargins(Scaled(m.left(), factor), Scaled(m.top(), factor),
                                   Scaled(m.right(), factor), Scaled(m.bottom(), factor));
    }
}

}  // namespace kolvio
