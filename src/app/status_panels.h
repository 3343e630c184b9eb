// The five panels of the main window's status bar: NUM LOCK, CAPS LOCK, the
// date, the time, and a free panel for hints and for progress (a text and a
// gauge 0..100).
//
// Qt does not tell the state of the lock keys on every platform; where it
// does not, their panels stay empty (with their hints).
#pragma once

#include <QObject>

class QLabel;
class QProgressBar;
class QStatusBar;
class QTimer;

namespace kolvio {

class StatusPanels final : public QObject {
    Q_OBJECT
public:
    explicit StatusPanels(QStatusBar* bar);

    // The text of the fifth panel.
    void setText(const QString& text);
    QString text() const;
    // Progress mode: the gauge at 0 with `text` beside it.
    void showGauge(const QString& text);
    void setGauge(int percent);
    // Back to normal mode with an empty text.
    void hideGauge();
    bool gaugeVisible() const;
    int gaugeValue() const;

    QLabel* dateLabel() const { return date_; }
    QLabel* timeLabel() const { return time_; }

private:
    void tick();
    void paintNow();

    QStatusBar* bar_;
    QLabel* num_;
    QLabel* caps_;
    QLabel* date_;
    QLabel* time_;
    QLabel* text_;
    QProgressBar* gauge_;
    QTimer* clock_;
};

}  // namespace kolvio
