// The result dialog TFVysledek ("Výsledek") of the summaries: the caption
// of the summary above its value, shown in bold in a box the rider can
// select and copy from, and "O.K." to close. It opens modally, centred over
// the main window.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kolvio {

class TFVysledek final : public QDialog {
    Q_OBJECT
public:
    TFVysledek(const QString& caption, const QString& value, QWidget* mainWindow);

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;  // "O.K."

    // Shows the dialog modally, centred over `mainWindow`.
    static void Show(const QString& caption, const QString& value, QWidget* mainWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* mainWindow_;
};

// Left and top of a dialog of `size` centred over `frame` (integer halves).
QPoint CentredOver(const QRect& frame, const QSize& size);

}  // namespace kolvio
