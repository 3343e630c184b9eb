// Choosing the device file (FIT, TCX, GPX) a ride is read from.
//
// The new-ride screen asks the current chooser; the program's one is Qt's
// file dialog (in Czech, as the main window loads Qt's translation); tests
// install a scripted one.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace kolvio {

class RideFileChooser {
public:
    virtual ~RideFileChooser() = default;
    // The chosen file, or nullopt on cancel. `startDir` is where the dialog
    // opens (empty: the user's home folder).
    virtual std::optional<QString> choose(QWidget* parent, const QString& startDir) = 0;
};

// The chooser in use (the dialog unless replaced).
RideFileChooser& RideFiles();
// Replaces the chooser; null puts the dialog back. Returns the previous one.
RideFileChooser* SetRideFileChooser(RideFileChooser* chooser);

class DialogRideFileChooser final : public RideFileChooser {
public:
    std::optional<QString> choose(QWidget* parent, const QString& startDir) override;
};

}  // namespace kolvio
