#include "app/directory_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/message_service.h"

namespace kolvio {

DirectoryDialog::DirectoryDialog(QWidget* parent, const QString& title, const QString& startDir,
                                 TypedDirectory typed)
    : QDialog(parent), model_(new QFileSystemModel(this)), typed_(typed) {
    setObjectName(QStringLiteral("DirectoryDialog"));
    setWindowTitle(title);
    resize(520, 420);
    start_ = QFileInfo(startDir.isEmpty() ? QDir::homePath() : startDir).absoluteFilePath();

    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QString());
    Tree = new QTreeView(this);
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        Tree->hideColumn(column);
    Tree->header()->hide();

    Path = new QLineEdit(this);
    Path->setObjectName(QStringLiteral("Path"));
    auto* label = new QLabel(QStringLiteral("&Adresář:"), this);
    label->setBuddy(Path);
    auto* hint = new QLabel(typed == TypedDirectory::kCreate
                                ? QStringLiteral("Vyber adresář ve stromu, nebo napiš cestu; "
                                                 "adresář, který neexistuje, bude vytvořen.")
                                : QStringLiteral("Vyber adresář ve stromu, nebo napiš jeho cestu."),
                            this);
    hint->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    BVybrat = buttons->addButton(QStringLiteral("Vybrat"), QDialogButtonBox::AcceptRole);
    BVybrat->setObjectName(QStringLiteral("BVybrat"));
    BZrusit = buttons->addButton(QStringLiteral("Zrušit"), QDialogButtonBox::RejectRole);
    BZrusit->setObjectName(QStringLiteral("BZrusit"));
    BVybrat->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &DirectoryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tree, 1);
    layout->addWidget(label);
    layout->addWidget(Path);
    layout->addWidget(hint);
    layout->addWidget(buttons);

    connect(Tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    Path->setText(QDir::toNativeSeparators(model_->filePath(current)));
            });
    const QModelIndex start = model_->index(start_);
    if (start.isValid()) {
        Tree->setCurrentIndex(start);
        Tree->scrollTo(start);
    }
    Path->setText(QDir::toNativeSeparators(start_));
    Path->setFocus();
}

QString DirectoryDialog::pickedFolder() const {
    const QModelIndex current = Tree->currentIndex();
    return current.isValid() ? model_->filePath(current) : start_;
}

void DirectoryDialog::accept() {
    const QString typed = QDir::fromNativeSeparators(Path->text().trimmed());
    if (typed.isEmpty()) return;
    const QString path = QDir::cleanPath(QDir(pickedFolder()).absoluteFilePath(typed));
    const QFileInfo info(path);
    QString problem;
    if (info.exists() && !info.isDir()) {
        problem = QStringLiteral("\"%1\" je soubor, ne adresář.\nVyber nebo napiš adresář.");
    } else if (!info.exists() && typed_ == TypedDirectory::kMustExist) {
        problem = QStringLiteral("Adresář \"%1\" neexistuje.\nVyber existující adresář.");
    } else if (!info.exists() && !QDir().mkpath(path)) {
        problem = QStringLiteral(
            "Adresář \"%1\" nelze vytvořit.\n"
            "Zkontroluj název a oprávnění, nebo vyber jiné místo.");
    }
    if (!problem.isEmpty()) {
        ShowMsgBox(problem.arg(QDir::toNativeSeparators(path)), MsgKind::kWarning, MsgButtons::kOk);
        Path->setFocus();
        return;
    }
    chosen_ = path;
    QDialog::accept();
}

}  // namespace kolvio
