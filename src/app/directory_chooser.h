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

// What a typed name of a directory that does not exist means.
enum class TypedDirectory {
    kMustExist,  // a mistake: the chooser says so and stays open
    kCreate,     // a new directory: the chooser creates it
};

class DirectoryChooser {
public:
    virtual ~DirectoryChooser() = default;
    // The chosen directory, or nullopt on cancel.
    virtual std::optional<QString> choose(QWidget* parent, const QString& title,
                                          const QString& startDir, TypedDirectory typed) = 0;
};

// The chooser in use (the dialog unless replaced).
DirectoryChooser& Directories();
// Replaces the chooser; null puts the dialog back. Returns the previous one.
DirectoryChooser* SetDirectoryChooser(DirectoryChooser* chooser);

// The program's directory dialog (DirectoryDialog): a tree of folders and a
// typed path; with kCreate a typed directory that does not exist is created
// (with its missing parents) when the rider confirms the choice.
class DialogDirectoryChooser final : public DirectoryChooser {
public:
    std::optional<QString> choose(QWidget* parent, const QString& title, const QString& startDir,
                                  TypedDirectory typed) override;
};

}  // namespace kolvio
