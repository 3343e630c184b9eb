// The HTML help shipped beside the program (folder "help"), shown in one
// help window that every caller shares.
#pragma once

#include <QString>

class QWidget;

namespace kolvio {

// Folder of the help files: "help" beside the program file.
QString HelpDir();
// Path of a help file in HelpDir().
QString HelpFile(const QString& name);

// The contents page ("&Obsah").
void ShowHelpContents(QWidget* parent = nullptr);
// A topic by file name without ".html" ("obecne" is the program's description).
void ShowHelpTopic(const QString& topic, QWidget* parent = nullptr);
// A topic by the help context number of a screen or message (1 navigator,
// 2 the overwrite question of a new database); unknown numbers show the
// contents.
void ShowHelpContext(int context, QWidget* parent = nullptr);

// The window showing help, or null when none has been opened (tests).
QWidget* HelpWindow();

}  // namespace kolvio
