// The one message routine of the program.
//
// Every message of every screen goes through ShowMsgBox or its silent twin,
// which hand it to the current MessageService. The program's service shows
// a QMessageBox; tests install a scripted one that checks each text and
// gives the answer a rider would.
#pragma once

#include <QString>

#include "data/status.h"

namespace kolvio {

enum class MsgKind { kWarning = 0, kError = 1, kInformation = 2, kConfirmation = 3 };
enum class MsgButtons { kOk, kYesNo };
enum class MsgResult { kOk, kYes, kNo };

struct Message {
    QString text;  // line breaks as "\n"
    MsgKind kind = MsgKind::kInformation;
    MsgButtons buttons = MsgButtons::kOk;
    int helpContext = 0;  // help topic opened by F1; 0 = none
    bool beep = true;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows the message modally and returns the button pressed. Closing the
    // box without a button counts as No for a question and OK otherwise.
    virtual MsgResult show(const Message& message) = 0;
};

// The title of a kind: "Warning", "Error", "Information", "Confirm".
QString MsgKindTitle(MsgKind kind);

// The service in use (a QMessageBox service unless replaced).
MessageService& Messages();
// Replaces the service; null puts the QMessageBox service back. Returns the
// previous one. The caller keeps ownership.
MessageService* SetMessageService(MessageService* service);

// Shows `text` (kind, buttons) after the beep of its kind.
MsgResult ShowMsgBox(const QString& text, MsgKind kind, MsgButtons buttons, int helpContext = 0);
// The same without the beep.
MsgResult ShowMsgBoxQuiet(const QString& text, MsgKind kind, MsgButtons buttons,
                          int helpContext = 0);

// Shows a failed search of the table store (its own message, as an error);
// a key that is not there is no failure. True when the table could be read,
// whether the key was found or not.
bool SearchReadOk(const Status& status);

// The QMessageBox service: kind's icon and title, "&Yes"/"&No" or "OK",
// QApplication::beep unless quiet, centred on the active top-level window
// (the main window while an MDI child is active). F1 opens the help topic.
class DialogMessages final : public MessageService {
public:
    MsgResult show(const Message& message) override;
};

}  // namespace kolvio
