#include "rides/ride_widgets.h"

#include <algorithm>

#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/widgets/decimal_comma_filter.h"
#include "rides/figure_input.h"

namespace kolvio {

ArrowButton::ArrowButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setMaximumWidth(72);
}

void ArrowButton::setPointsRight(bool right) {
    if (right_ == right) return;
    right_ = right;
    update();
}

QSize ArrowButton::sizeHint() const {
    return {44, 22};
}

void ArrowButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(3, 3, -3, -3);
    const qreal mid = r.center().y();
    const qreal head = qMin(r.height(), r.width() / 2);
    const qreal shaft = r.height() * 0.22;
    // Drawn pointing right, mirrored for left.
    QPainterPath arrow;
    arrow.moveTo(r.left(), mid - shaft);
    arrow.lineTo(r.right() - head, mid - shaft);
    arrow.lineTo(r.right() - head, r.top());
    arrow.lineTo(r.right(), mid);
    arrow.lineTo(r.right() - head, r.bottom());
    arrow.lineTo(r.right() - head, mid + shaft);
    arrow.lineTo(r.left(), mid + shaft);
    arrow.closeSubpath();
    if (!right_) {
        p.translate(width(), 0);
        p.scale(-1, 1);
    }
    const QColor fill = !isEnabled() ? palette().color(QPalette::Disabled, QPalette::Button)
                        : isDown()   ? QColor(0x12, 0x2c, 0x66)
                                     : QColor(0x1c, 0x3f, 0x8c);
    p.setPen(QPen(hasFocus() ? palette().color(QPalette::Highlight) : fill.darker(130),
                  hasFocus() ? 2 : 1));
    p.setBrush(fill);
    p.drawPath(arrow);
}

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const bool up : {true, false}) {
        auto* button = new QToolButton(this);
        button->setObjectName(up ? QStringLiteral("up") : QStringLiteral("down"));
        button->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(18, 11);
        connect(button, &QToolButton::clicked, this, [this, up] { step(up ? 1 : -1); });
        layout->addWidget(button);
    }
}

void UpDown::setPosition(int position) {
    position_ = std::clamp(position, min_, max_);
}

void UpDown::setMax(int max) {
    max_ = std::max(max, min_);
    position_ = std::min(position_, max_);
}

void UpDown::step(int by) {
    setPosition(position_ + by);
    emit clicked();
}

QValidator::State TimeValidator::validate(QString& input, int&) const {
    const std::string text = input.toStdString();
    if (ParseDuration(text)) return Acceptable;
    return CouldBeTimeText(text) ? Intermediate : Invalid;
}

QLineEdit* TimeBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(QStringLiteral("0:00:00"), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setValidator(new TimeValidator(box));
    box->setMaxLength(static_cast<int>(kTimeTextMaxLength));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 10);
    return box;
}

QLineEdit* NumberBox(QWidget* parent, const char* name, int maxLength, const QString& initial,
                     const DisplaySettings& settings) {
    auto* box = new QLineEdit(initial, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(maxLength);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(maxLength, u'0')) + 10);
    new DecimalCommaFilter(box, settings);
    return box;
}

}  // namespace kolvio
