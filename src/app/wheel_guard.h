// The mouse wheel changes a spin box or a drop-down list only while it has
// the focus. Over one without the focus the wheel scrolls what holds it (the
// page of the configuration dialog), so a value never changes under a rider
// who only scrolls; the wheel never gives these controls the focus either.
//
// One guard serves the whole application: the main window installs it.
#pragma once

#include <QObject>

namespace kolvio {

class WheelGuard final : public QObject {
public:
    // Installs itself on the application; removed when destroyed.
    explicit WheelGuard(QObject* parent = nullptr);
    ~WheelGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kolvio
