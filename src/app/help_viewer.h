// The HTML help shipped with the program (folder "help" beside it, or
// share/kolvio/help of an installed program), shown in one help window that
// every caller shares.
#pragma once

#include <QString>

class QWidget;

namespace kolvio {

// Folder of the help files (FindHelpDir of the running program).
QString HelpDir();
// Path of a help file in HelpDir().
QString HelpFile(const QString& name);

// The contents page ("&Obsah").
void ShowHelpContents(QWidget* parent = nullptr);
// A topic by file name without ".html" ("obecne" is the program's description).
void ShowHelpTopic(const QString& topic, QWidget* parent = nullptr);
// A topic by the help context number of a screen, a page or a message
// (1 navigator, 2 the overwrite question of a new database, 201 ... 901 the
// list screens, 402 and 403 the pages of the new-ride-type screen, 910 the
// page "Extrém", 1010 ... 1030 the pages of the result viewer); unknown
// numbers show the contents.
void ShowHelpContext(int context, QWidget* parent = nullptr);
// The file name (without ".html") of the topic of `context`.
QString HelpTopicOf(int context);

// Gives a control or a page a help topic of its own.
void SetHelpContext(QWidget* widget, int context);
// The topic F1 opens in `screen`: that of the focused control or the
// nearest of its containers that has one, else that of the page a page
// control of the screen shows, else `screenContext`.
int HelpContextFor(const QWidget* focus, const QWidget* screen, int screenContext);

// The window showing help, or null when none has been opened (tests).
QWidget* HelpWindow();

}  // namespace kolvio
