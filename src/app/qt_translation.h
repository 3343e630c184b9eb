// Qt's own texts in Czech: the file and folder dialogs with their buttons
// and errors, the context menu of every text box. The texts the program
// gives (message-box titles and buttons among them) are its own and stay.
#pragma once

namespace kolvio {

// Loads Qt's Czech translation once for the application: from the folder
// "translations" beside the program, else from Qt's own translations folder
// (Debian's qt6-translations-l10n). False when none was found; Qt's texts
// then stay English.
bool InstallQtTranslation();

}  // namespace kolvio
