// Where the program keeps its settings file and its default database, and
// where it finds its help.
//
// AppDir is the program's own folder when the rider may write there (a
// portable install: "kolvio.ini" and "DATA" beside the program), otherwise
// the user's data folder (~/.local/share/kolvio). An installed program (its
// help in ../share/kolvio/help, none beside it) always uses the user's data
// folder, even when its folder is writable (root, a prefix in the home
// folder): nothing of the rider's belongs among the installed files. The
// environment variable KOLVIO_HOME names another folder and wins over all;
// the tests use it.
#pragma once

#include <QString>

namespace kolvio {

inline constexpr char kHomeVariable[] = "KOLVIO_HOME";

// The rule above, without side effects: `home` is KOLVIO_HOME (empty when
// unset), `programDir` the folder of the program file, `userDataDir` the
// user's data folder for the program.
QString ChooseAppDir(const QString& home, const QString& programDir, const QString& userDataDir);

// True when the program in `programDir` runs from an installed tree: the
// help is where the installation puts it and not beside the program.
bool IsInstalledLayout(const QString& programDir);
// The help folder of the program in `programDir`: "help" beside it (the
// build tree, a portable copy), else the installed one.
QString FindHelpDir(const QString& programDir);

// Computes AppDir from the environment and the running program, creates the
// folder when missing and makes it the process-wide AppDir. Returns it.
QString InitAppDir();

// The process-wide values, set by InitAppDir.
const QString& AppDir();
// AppDir + "/kolvio.ini".
QString IniPath();
// AppDir + "/DATA": the database used while the recent list is empty.
QString DefaultDataDir();

}  // namespace kolvio
