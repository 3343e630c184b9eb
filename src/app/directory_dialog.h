// The dialog in which the rider picks a database directory: the folders of
// the computer as a tree, and a box with the chosen path in which a path can
// also be typed, absolute or within the folder picked in the tree. What a
// typed directory that does not exist means is the caller's choice
// (TypedDirectory): created, or refused with a message.
#pragma once

#include <QDialog>

#include "app/directory_chooser.h"

class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace kolvio {

class DirectoryDialog final : public QDialog {
    Q_OBJECT
public:
    DirectoryDialog(QWidget* parent, const QString& title, const QString& startDir,
                    TypedDirectory typed);

    // The chosen directory, absolute and clean, once accepted.
    const QString& directory() const { return chosen_; }

    QTreeView* Tree;
    QLineEdit* Path;
    QPushButton* BVybrat;
    QPushButton* BZrusit;

    void accept() override;

private:
    // The folder picked in the tree (a typed relative path is within it).
    QString pickedFolder() const;

    QFileSystemModel* model_;
    TypedDirectory typed_;
    QString start_;
    QString chosen_;
};

}  // namespace kolvio
