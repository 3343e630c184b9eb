// The round blue button of the navigator, with its caption inside.
#pragma once

#include <QAbstractButton>

namespace kolvio {

class RoundButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit RoundButton(const QString& caption, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    // The largest point size (up to the widget's font) at which the caption
    // fits inside the disc.
    qreal fittingPointSize() const;
    // Draws the caption at this size (0: fittingPointSize()), so that a
    // group of buttons can share one size.
    void setCaptionPointSize(qreal size);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRectF disc() const;
    QRectF captionBox() const;
    QFont captionFont(qreal size) const;

    bool hovered_ = false;
    qreal captionSize_ = 0;
};

}  // namespace kolvio
