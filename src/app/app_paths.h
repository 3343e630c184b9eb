// Where the program keeps its settings file and its default database.
//
// AppDir is the program's own folder when the rider may write there (a
// portable install: "kolvio.ini" and "DATA" beside the program), otherwise
// the user's data folder (~/.local/share/kolvio). The environment variable
// KOLVIO_HOME names another folder and wins over both; the tests use it.
#pragma once

#include <QString>

namespace kolvio {

inline constexpr char kHomeVariable[] = "KOLVIO_HOME";

// The rule above, without side effects: `home` is KOLVIO_HOME (empty when
// unset), `programDir` the folder of the program file, `userDataDir` the
// user's data folder for the program.
QString ChooseAppDir(const QString& home, const QString& programDir, const QString& userDataDir);

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
