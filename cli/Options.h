#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/RenumberJob.h"

namespace halvern::cli {

// The name that stands for standard input (as INPUT) or standard output (as OUTPUT).
inline constexpr std::string_view kStdStream = "-";


// What a well-formed command line asks for.
struct Options {
    enum class Action { Run, ShowHelp, ShowVersion };

    Action action = Action::Run;
    std::vector<JobRun> runs;        // in the order given; empty for --all and for --check alone
    bool allTypes = false;           // --all: every record type the input holds, each with its default form
    std::int32_t allTypesStart = 1;  // --all: the start number of its runs (-s)
    bool check = false;              // --check: the reference report; alone, with no output
    std::string input;             // a file name or kStdStream
    std::string output;            // a file name or kStdStream; empty for --check alone
    std::string mapFile;           // empty: no map
    std::string keepFile;          // --keep: the map of an earlier renumbering whose numbers stay; empty: none
    NumberingOrder order = NumberingOrder::kDefinition;  // --order, for every run
    bool dryRun = false;
    bool quiet = false;
};

// A command line that cannot be carried out; message is one Dutch line without the program name.
struct UsageError {
    std::string message;
};

using ParseResult = std::variant<Options, UsageError>;

// Reads the arguments that follow the program name. Pure: looks at nothing but args.
ParseResult ParseArguments(std::span<const std::string_view> args);

}  // namespace halvern::cli
