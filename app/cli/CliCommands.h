#pragma once

#include "app/cli/CliOptions.h"

#include <ostream>

namespace quarix::cli {

enum ExitCode {
    Success = 0,
    NoRows = 1,
    UsageError = 2,
    FileError = 3,
    QueryError = 4,
    OutputError = 5,
    Cancelled = 130
};

// Runs one parsed command, printing to out and errors to err.
int runCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

// Builds the indexes the command's searches asked for, so that the next
// search of the same columns is fast: for after its output is complete.
void buildIndexesLeft();

} // namespace quarix::cli
