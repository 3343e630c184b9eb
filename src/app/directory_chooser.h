// Choosing a database directory.
//
// The navigator asks the current chooser; the program's one is a directory
// dialog in which the rider can also create a new directory; tests install a
// scripted one.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace kolvio {

class DirectoryChooser {
public:
    virtual ~DirectoryChooser() = default;
    // The chosen directory (it may not exist yet), or nullopt on cancel.
    virtual std::optional<QString> choose(QWidget* parent, const QString& title,
                                          const QString& startDir) = 0;
};

// The chooser in use (the dialog unless replaced).
DirectoryChooser& Directories();
// Replaces the chooser; null puts the dialog back. Returns the previous one.
DirectoryChooser* SetDirectoryChooser(DirectoryChooser* chooser);

// Qt's own directory dialog (not the platform's), which always offers
// "Create New Folder" and accepts a typed path.
class DialogDirectoryChooser final : public DirectoryChooser {
public:
    std::optional<QString> choose(QWidget* parent, const QString& title,
                                  const QString& startDir) override;
};

}  // namespace kolvio
