// The decimal-key filter of a numeric entry box: while the comma option of
// the display settings is on, a typed comma reaches the box as a point.
#pragma once

#include <QObject>

#include "app/display_format.h"

namespace kolvio {

class DecimalCommaFilter final : public QObject {
    Q_OBJECT
public:
    // `settings` is read at every key (the main window's, so that a change in
    // the configuration applies at once); it must outlive the box.
    DecimalCommaFilter(QObject* box, const DisplaySettings& settings);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const DisplaySettings& settings_;
};

}  // namespace kolvio
