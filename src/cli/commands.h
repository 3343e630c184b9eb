// Subcommands of kolvio-db. Each takes the arguments after its own name and
// returns the process exit code.
#pragma once

#include <string>

#include "data/database/database.h"

namespace kolvio::cli {

int RunDump(int argc, char** argv);
int RunSql(int argc, char** argv);
int RunOpen(int argc, char** argv);
int RunPack(int argc, char** argv);
int RunCheck(int argc, char** argv);
int RunImport(int argc, char** argv);

// Opens `dir` with `db` and prints what the opening did (or the error);
// returns the exit code. Shared by open and pack.
int OpenDatabaseForCli(Database& db, const std::string& dir, OverwritePolicy policy);

}  // namespace kolvio::cli
