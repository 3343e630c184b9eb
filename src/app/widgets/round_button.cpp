#include "app/widgets/round_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextOption>

namespace kolvio {

namespace {

// Sizes in lines of the button's font, so that the button grows and shrinks
// with its caption when the screen is scaled.
constexpr qreal kDiameterLines = 6.2;
constexpr qreal kMinimumLines = 3.6;

}  // namespace

RoundButton::RoundButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSize RoundButton::sizeHint() const {
    const int d = qRound(fontMetrics().height() * kDiameterLines);
    return {d, d};
}

QSize RoundButton::minimumSizeHint() const {
    const int d = qRound(fontMetrics().height() * kMinimumLines);
    return {d, d};
}

int RoundButton::heightForWidth(int width) const {
    return width;
}

QRectF RoundButton::disc() const {
    const qreal d = qMin(width(), height()) - 4.0;
    return {(width() - d) / 2.0, (height() - d) / 2.0, d, d};
}

bool RoundButton::hitButton(const QPoint& pos) const {
    const QRectF r = disc();
    const QPointF c = r.center() - QPointF(pos);
    return c.x() * c.x() + c.y() * c.y() <= r.width() * r.width() / 4.0;
}

void RoundButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void RoundButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

QRectF RoundButton::captionBox() const {
    const QRectF r = disc();
    const qreal side = r.width() * 0.78;
    return {r.center().x() - side / 2, r.center().y() - side / 2, side, side};
}

QFont RoundButton::captionFont(qreal size) const {
    QFont font = this->font();
    font.setBold(true);
    if (size > 0) font.setPointSizeF(size);
    return font;
}

qreal RoundButton::fittingPointSize() const {
    const QRectF box = captionBox();
    qreal size = captionFont(0).pointSizeF();
    for (; size > 5; size -= 0.5) {
        const QFontMetricsF m(captionFont(size));
        const QRectF need = m.boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, text());
        if (need.width() <= box.width() + 0.5 && need.height() <= box.height() + 0.5) break;
    }
    return size;
}

void RoundButton::setCaptionPointSize(qreal size) {
    captionSize_ = size;
    update();
}

void RoundButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = disc();
    const bool on = isEnabled();
    const bool down = isDown();

    // A soft shadow below the disc.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, on ? 60 : 25));
    p.drawEllipse(r.translated(1.5, 2.5));

    QColor light = on ? QColor(0x8c, 0xc4, 0xff) : QColor(0xe4, 0xec, 0xf7);
    QColor dark = on ? QColor(0x12, 0x46, 0xa8) : QColor(0xa9, 0xbb, 0xd6);
    if (on && hovered_ && !down) light = light.lighter(112), dark = dark.lighter(118);
    if (down) std::swap(light, dark);
    QRadialGradient fill(r.center() - QPointF(r.width() * 0.18, r.height() * 0.22),
                         r.width() * 0.75);
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setBrush(fill);
    p.setPen(QPen(on ? QColor(0x0b, 0x2c, 0x6e) : QColor(0x6f, 0x81, 0x9f), 1.5));
    p.drawEllipse(r);

    // The glossy highlight of the upper half.
    QPainterPath gloss;
    gloss.addEllipse(QRectF(r.left() + r.width() * 0.22, r.top() + r.height() * 0.05,
                            r.width() * 0.56, r.height() * 0.26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, on ? 60 : 70));
    p.drawPath(gloss);

    if (hasFocus()) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0xff, 0xd4, 0x4d), 2.0));
        p.drawEllipse(r.adjusted(3, 3, -3, -3));
    }

    QRectF box = captionBox();
    if (down) box.translate(1, 1);
    const QFont font = captionFont(captionSize_ > 0 ? captionSize_ : fittingPointSize());
    QTextOption option(Qt::AlignCenter);
    option.setWrapMode(QTextOption::WordWrap);
    p.setFont(font);
    if (on) {
        p.setPen(QColor(0, 0, 0, 90));
        p.drawText(box.translated(1, 1), text(), option);
    }
    p.setPen(on ? QColor(Qt::white) : QColor(0x3c, 0x50, 0x6e));
    p.drawText(box, text(), option);
}

}  // namespace kolvio
