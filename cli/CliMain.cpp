#include "cli/CliMain.h"

#include <exception>
#include <string>
#include <variant>

#include "app/StatusTexts.h"
#include "app/tResStr.h"
#include "cli/ExitCodes.h"
#include "cli/HelpText.h"
#include "cli/Options.h"
#include "cli/RunCommand.h"

namespace halvern::cli {

int CliMain(std::span<const std::string_view> args, const Console& console) {
    try {
        const ParseResult parsed = ParseArguments(args);
        if (const auto* usage = std::get_if<UsageError>(&parsed)) {
            WriteLine(console.err, std::string(kProgramName) + ": " + usage->message);
            WriteLine(console.err, rsGebruik.text);
            return kExitUsage;
        }
        const Options& options = std::get<Options>(parsed);
        switch (options.action) {
            case Options::Action::ShowHelp:
                WriteText(console.out, HelpText());
                return kExitDone;
            case Options::Action::ShowVersion:
                WriteLine(console.out, std::string(kProgramName) + " " + std::string(VersionText()));
                return kExitDone;
            case Options::Action::Run:
                return RunCommand(options, console);
        }
    } catch (const std::exception& error) {
        // Only running out of memory outside a run is expected here; nothing has been written.
        WriteLine(console.err, std::string(kProgramName) + ": " + TopLevelErrorText(error.what()));
    }
    return kExitRunRefused;
}

}  // namespace halvern::cli
