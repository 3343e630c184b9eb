#include "app/message_service.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include "app/help_viewer.h"

namespace kolvio {

namespace {

DialogMessages& DefaultService() {
    static DialogMessages service;
    return service;
}

MessageService* g_service = nullptr;

QMessageBox::Icon IconOf(MsgKind kind) {
    switch (kind) {
        case MsgKind::kWarning:
            return QMessageBox::Warning;
        case MsgKind::kError:
            return QMessageBox::Critical;
        case MsgKind::kInformation:
            return QMessageBox::Information;
        case MsgKind::kConfirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// A message box centred on its owner once its final size is known, with
// F1 opening its help topic.
class Box final : public QMessageBox {
public:
    Box(const Message& m, QWidget* owner)
        : QMessageBox(IconOf(m.kind), MsgKindTitle(m.kind), m.text, NoButton, owner),
          owner_(owner),
          helpContext_(m.helpContext) {}

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        if (!owner_) return;
        const QRect o = owner_->frameGeometry();
        move(o.left() + o.width() / 2 - frameGeometry().width() / 2,
             o.top() + o.height() / 2 - frameGeometry().height() / 2);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (helpContext_ != 0 && event->matches(QKeySequence::HelpContents)) {
            ShowHelpContext(helpContext_, this);
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

private:
    QWidget* owner_;
    int helpContext_;
};

}  // namespace

QString MsgKindTitle(MsgKind kind) {
    switch (kind) {
        case MsgKind::kWarning:
            return QStringLiteral("Warning");
        case MsgKind::kError:
            return QStringLiteral("Error");
        case MsgKind::kInformation:
            return QStringLiteral("Information");
        case MsgKind::kConfirmation:
            return QStringLiteral("Confirm");
    }
    return {};
}

MessageService& Messages() {
    return g_service ? *g_service : DefaultService();
}

MessageService* SetMessageService(MessageService* service) {
    MessageService* previous = g_service;
    g_service = service;
    return previous;
}

MsgResult ShowMsgBox(const QString& text, MsgKind kind, MsgButtons buttons, int helpContext) {
    return Messages().show({text, kind, buttons, helpContext, true});
}

MsgResult ShowMsgBoxQuiet(const QString& text, MsgKind kind, MsgButtons buttons, int helpContext) {
    return Messages().show({text, kind, buttons, helpContext, false});
}

bool SearchReadOk(const Status& status) {
    if (status.ok() || status.notFound()) return true;
    ShowMsgBox(QString::fromStdString(status.message()), MsgKind::kError, MsgButtons::kOk);
    return false;
}

MsgResult DialogMessages::show(const Message& m) {
    // The active window is always top level: while an MDI child is active it
    // is the main window, otherwise the dialog the user is working in.
    QWidget* owner = QApplication::activeWindow();
    Box box(m, owner);
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    if (m.buttons == MsgButtons::kYesNo) {
        yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
    } else {
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    if (m.beep) QApplication::beep();
    box.exec();
    if (m.buttons == MsgButtons::kOk) return MsgResult::kOk;
    return box.clickedButton() == yes ? MsgResult::kYes : MsgResult::kNo;
}

}  // namespace kolvio
