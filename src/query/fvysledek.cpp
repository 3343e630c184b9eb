#include "query/fvysledek.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kolvio {

namespace {

constexpr int kWidth = 320;

}  // namespace

QPoint CentredOver(const QRect& frame, const QSize& size) {
    return {frame.left() + frame.width() / 2 - size.width() / 2,
            frame.top() + frame.height() / 2 - size.height() / 2};
}

TFVysledek::TFVysledek(const QString& caption, const QString& value, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("FVysledek"));
    setWindowTitle(QStringLiteral("Výsledek"));
    Label1 = new QLabel(caption, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Edit1 = new QLineEdit(value, this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setAlignment(Qt::AlignCenter);
    QFont bold = Edit1->font();
    bold.setBold(true);
    Edit1->setFont(bold);
    Edit1->installEventFilter(this);
    Label1->setBuddy(Edit1);
    Button1 = new QPushButton(QStringLiteral("O.K."), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    // As high as the wrapped caption needs at this width.
    setFixedSize(kWidth, layout->totalHeightForWidth(kWidth));
    Button1->setFocus();
}

bool TFVysledek::eventFilter(QObject* watched, QEvent* event) {
    // In the value, Enter goes on to the button and Esc back.
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        if (key == Qt::Key_Escape) {
            focusPreviousChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFVysledek::showEvent(QShowEvent* event) {
    if (mainWindow_) move(CentredOver(mainWindow_->frameGeometry(), frameGeometry().size()));
    QDialog::showEvent(event);
    Button1->setFocus();
}

void TFVysledek::Show(const QString& caption, const QString& value, QWidget* mainWindow) {
    TFVysledek dialog(caption, value, mainWindow);
    dialog.exec();
}

}  // namespace kolvio
