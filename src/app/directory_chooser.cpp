#include "app/directory_chooser.h"

#include "app/directory_dialog.h"

namespace kolvio {

namespace {

DirectoryChooser* g_chooser = nullptr;

DialogDirectoryChooser& DefaultChooser() {
    static DialogDirectoryChooser chooser;
    return chooser;
}

}  // namespace

DirectoryChooser& Directories() {
    return g_chooser ? *g_chooser : DefaultChooser();
}

DirectoryChooser* SetDirectoryChooser(DirectoryChooser* chooser) {
    DirectoryChooser* previous = g_chooser;
    g_chooser = chooser;
    return previous;
}

std::optional<QString> DialogDirectoryChooser::choose(QWidget* parent, const QString& title,
                                                      const QString& startDir,
                                                      TypedDirectory typed) {
    DirectoryDialog dialog(parent, title, startDir, typed);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.directory();
}

}  // namespace kolvio
