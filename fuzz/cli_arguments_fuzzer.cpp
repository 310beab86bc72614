// halvern-cli's argument parser on any command line (arguments separated by byte 0). It must
// never crash and always give either a usable request or one line of message that is safe to
// print on a terminal.
#include <string>
#include <variant>
#include <string_view>
#include <vector>

#include "cli/Options.h"
#include "core/IdentifierForm.h"
#include "fuzz/FuzzInput.h"

namespace {

using halvern::fuzz::Require;

bool SafeForATerminal(std::string_view message) {
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) return false;
    }
    return !message.empty();
}

bool WellFormedRun(const halvern::JobRun& run) { return !run.tag.empty() && halvern::IsValidForm(run.form); }

bool SameResult(const halvern::cli::ParseResult& a, const halvern::cli::ParseResult& b) {
    if (a.index() != b.index()) return false;
    if (const auto* error = std::get_if<halvern::cli::UsageError>(&a)) {
        return error->message == std::get<halvern::cli::UsageError>(b).message;
    }
    const auto& x = std::get<halvern::cli::Options>(a);
    const auto& y = std::get<halvern::cli::Options>(b);
    if (x.action != y.action || x.input != y.input || x.output != y.output || x.mapFile != y.mapFile ||
        x.dryRun != y.dryRun || x.quiet != y.quiet || x.allTypesStart != y.allTypesStart ||
        x.runs.size() != y.runs.size()) {
        return false;
    }
    for (std::size_t i = 0; i < x.runs.size(); ++i) {
        if (x.runs[i].tag != y.runs[i].tag || x.runs[i].form.prefix != y.runs[i].form.prefix ||
            x.runs[i].form.width != y.runs[i].form.width || x.runs[i].startNumber != y.runs[i].startNumber) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> storage;
    for (std::size_t from = 0; from <= bytes.size() && storage.size() < 64;) {
        const std::size_t end = bytes.find('\0', from);
        storage.emplace_back(bytes.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from));
        if (end == std::string_view::npos) break;
        from = end + 1;
    }
    const std::vector<std::string_view> args(storage.begin(), storage.end());

    const halvern::cli::ParseResult result = halvern::cli::ParseArguments(args);
    Require(SameResult(result, halvern::cli::ParseArguments(args)), "two parses of one command line differ");

    if (const auto* error = std::get_if<halvern::cli::UsageError>(&result)) {
        Require(SafeForATerminal(error->message), "a message that is empty or carries control bytes");
        return 0;
    }
    const auto& options = std::get<halvern::cli::Options>(result);
    if (options.action != halvern::cli::Options::Action::Run) return 0;
    Require(!options.runs.empty() || options.allTypes || options.check, "nothing to do");
    for (const halvern::JobRun& run : options.runs) Require(WellFormedRun(run), "a run of no form");
    Require(options.mapFile != halvern::cli::kStdStream, "the map sent to a standard stream");
    return 0;
}
