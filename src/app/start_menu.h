// "-setup": menu entries for the program and its help, then the chart
// registration.
//
// Where Windows had Start-menu items in a group "Kolvio", the desktop has
// freedesktop entries: one .desktop file per item in the user's applications
// folder, gathered into a "Kolvio" submenu by a merged menu file and a
// .directory file.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kolvio {

// True when the command line (program name first) is exactly one argument
// "-setup", in this letter case.
bool IsSetupCommandLine(const QStringList& arguments);

// Folders the entries go to; DefaultStartMenuFolders() gives the user's.
struct StartMenuFolders {
    QString applications;  // ~/.local/share/applications
    QString directories;   // ~/.local/share/desktop-directories
    QString mergedMenus;   // ~/.config/menus/applications-merged
};
StartMenuFolders DefaultStartMenuFolders();

// Writes "Kolvio" for the program, and "Nápověda" and "Popis" for the help
// contents and the description topic when those files exist. Returns the
// entry files written; on a failure `error` gets a Czech message naming the
// file and the list stops there.
QStringList CreateStartMenuItems(const StartMenuFolders& folders, const QString& programPath,
                                 const QString& helpFile, const QString& descriptionFile,
                                 QString* error);

// An argument of an Exec key, quoted as the desktop entry format wants.
QString QuoteExecArgument(const QString& argument);

// The chart registration procedure. It belongs to the query screens, which
// install it; until then it is empty and setup skips it.
using ChartRegistration = std::function<void()>;
void SetChartRegistration(ChartRegistration registration);
const ChartRegistration& CurrentChartRegistration();

}  // namespace kolvio
