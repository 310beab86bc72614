#pragma once

namespace halvern::cli {

// The exit status of halvern-cli.
enum ExitCode : int {
    kExitDone = 0,
    kExitUsage = 1,        // bad command line, blank output name, input, output and map not three different files
    kExitBadInput = 2,     // input missing, a folder, unreadable, holding a byte 0, or without data
    kExitRunRefused = 3,   // a run would give two records the same identifier, or make one that is taken (or ran out of memory)
    kExitWriteFailed = 4,  // the output or the map could not be written
    kExitProblems = 5,     // --check: the report found references without a record or identifiers defined twice
};

}  // namespace halvern::cli
