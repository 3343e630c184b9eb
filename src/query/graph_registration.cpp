#include "query/graph_registration.h"

#include <string>

#include "app/app_paths.h"
#include "app/ini_document.h"
#include "app/message_service.h"
#include "app/settings_file.h"

namespace kolvio {

namespace {

constexpr int kMethods = 3;

}  // namespace

void RegisterGraphControl(SettingsFile& settings, const QString& appDir,
                          const GraphRegistrationMethod& tryMethod) {
    const QString path =
        QString::fromStdString(settings.readString(kGraphRegistrationSection, kGraphPathKey, ""));
    int k = settings.readInteger(kGraphRegistrationSection, kGraphMethodKey, 0);
    if (k > kMethods - 1 &&
        ShowMsgBox(QStringLiteral("Graf byl již třikrát neúspěšně registrován,\n"
                                  "mám se pokusit o novou registraci?"),
                   MsgKind::kConfirmation, MsgButtons::kYesNo) == MsgResult::kYes) {
        k = 0;
    }
    // Moved or installed anew.
    if (path.compare(appDir, Qt::CaseInsensitive) != 0) k = 0;
    bool done = false;
    while (!done && k < kMethods) {
        ++k;
        done = tryMethod(k);
    }
    if (k > kMethods - 1 && !done) {
        ShowMsgBox(QStringLiteral("Graf nelze na tomto počítači zaregistrovat,\n"
                                  "znovu nainstaluj kompletně systém,\n"
                                  "nebo se informuj na verzi bez grafů"),
                   MsgKind::kInformation, MsgButtons::kOk);
    }
    // Both keys or neither.
    const Status st = settings.update([&](IniDocument& ini) {
        return ini.setValue(kGraphRegistrationSection, kGraphPathKey, appDir.toStdString()) &&
               ini.setValue(kGraphRegistrationSection, kGraphMethodKey, std::to_string(k));
    });
    if (st.failed())
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
}

void RegisterGraphControl() {
    SettingsFile settings(IniPath().toStdString());
    // The chart is built in: every method finds it in place.
    RegisterGraphControl(settings, AppDir(), [](int) { return true; });
}

}  // namespace kolvio
