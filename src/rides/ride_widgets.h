// Controls the two ride screens share: the direction arrow, the time boxes
// and the figure boxes.
#pragma once

#include <QAbstractButton>
#include <QValidator>

#include "app/display_format.h"

class QLineEdit;

namespace kolvio {

// A button showing a horizontal arrow: the direction a route is ridden in.
// A click only emits clicked(); the screen decides where it points.
class ArrowButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit ArrowButton(QWidget* parent = nullptr);

    bool pointsRight() const { return right_; }
    void setPointsRight(bool right);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool right_ = true;
};

// The up-down arrows beside a number box: a position between a lower and an
// upper end, moved by one per click. The screen shows the position in its box.
class UpDown final : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    int position() const { return position_; }
    void setPosition(int position);
    int max() const { return max_; }
    void setMax(int max);

signals:
    // After a click has moved the position (also when it stayed at an end).
    void clicked();

private:
    void step(int by);

    int min_ = 1;
    int max_ = 1000;
    int position_ = 1;
};

// Keys of a time box: what cannot become a time ("h:mm:ss", hours of one to
// four digits, or "<days>den h:mm:ss") is refused while typing, as a mask
// refuses it; a complete but wrong time ("0:60:00") is the box's refusal
// when it is left.
class TimeValidator final : public QValidator {
    Q_OBJECT
public:
    explicit TimeValidator(QObject* parent = nullptr) : QValidator(parent) {}
    State validate(QString& input, int& pos) const override;
};

// A time box showing "0:00:00" at first, wide enough for a ride of days.
QLineEdit* TimeBox(QWidget* parent, const char* name);
// A number box with at most `maxLength` characters, the decimal-comma key
// filter of the display settings and `initial` text.
QLineEdit* NumberBox(QWidget* parent, const char* name, int maxLength, const QString& initial,
                     const DisplaySettings& settings);

}  // namespace kolvio
