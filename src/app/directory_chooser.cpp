#include "app/directory_chooser.h"

#include <QFileDialog>

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
                                                      const QString& startDir) {
    QFileDialog dialog(parent, title, startDir);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Vybrat"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Zrušit"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Adresář:"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace kolvio
