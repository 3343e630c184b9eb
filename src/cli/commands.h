// Subcommands of kolvio-db. Each takes the arguments after its own name and
// returns the process exit code.
#pragma once

namespace kolvio::cli {

int RunDump(int argc, char** argv);

}  // namespace kolvio::cli
