#include "cli/RunCommand.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cli/ExitCodes.h"
#include "cli/HelpText.h"
#include "cli/MapText.h"
#include "cli/TerminalProgress.h"
#include "core/Document.h"
#include "core/DocumentBuffer.h"
#include "core/IoErrorCode.h"
#include "core/LargeBuffer.h"
#include "core/Renumber.h"
#include "ui/RunChecks.h"
#include "ui/StatusTexts.h"
#include "ui/tResStr.h"

namespace halvern::cli {

namespace {

constexpr std::string_view kOutOfMemory = "onvoldoende geheugen voor deze hernummering; er is niets geschreven";
constexpr std::string_view kMapCollision =
    "de vertaallijst mag niet hetzelfde bestand zijn als de invoer of de uitvoer";

bool IsStdStream(const std::string& name) { return name == kStdStream; }

int Fail(const Console& console, std::string_view message, int exitCode) {
    WriteLine(console.err, std::string(kProgramName) + ": " + std::string(message));
    return exitCode;
}

int ExitCodeFor(const ResString& failed) {
    switch (failed.id) {
        case rsGeenUitvoer.id:
        case rsZelfdeNaam.id: return kExitUsage;
        default: return kExitBadInput;  // rsGeenInvoer, rsGeenGegevens
    }
}

// The run's checks; a standard stream has no file to look at and is never the same file as another.
std::optional<ResString> CheckNamesAndData(const Options& options, std::string_view text,
                                           const FileProbe& probe) {
    if (!IsStdStream(options.input) && !IsStdStream(options.output)) {
        return FirstFailingCheck(options.input, options.output, text, probe);
    }
    if (!IsStdStream(options.input) && !probe.IsExistingFile(options.input)) return rsGeenInvoer;
    if (!HasData(options.output)) return rsGeenUitvoer;
    if (!HasData(text)) return rsGeenGegevens;
    return std::nullopt;
}

// The absolute name with links, "." and ".." resolved as far as the path exists. Windows file
// names ignore letter case, so there the name is compared in lower case (ASCII letters).
std::optional<std::string> ResolvedName(const std::string& name) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(name), error);
    if (error) return std::nullopt;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
    if (error) return std::nullopt;
    std::string text = resolved.generic_string();
#ifdef _WIN32
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
#endif
    return text;
}

// True when writing one name could overwrite the file of the other, also when neither exists yet
// ("uit.ged" and "./uit.ged").
bool SameTarget(const std::string& first, const std::string& second, const FileProbe& probe) {
    if (first == second || probe.SameExistingFile(first, second)) return true;
    const std::optional<std::string> a = ResolvedName(first);
    const std::optional<std::string> b = ResolvedName(second);
    return a && b && *a == *b;
}

bool MapCollides(const Options& options, const FileProbe& probe) {
    if (options.mapFile.empty()) return false;
    for (const std::string* other : {&options.input, &options.output}) {
        if (!IsStdStream(*other) && SameTarget(options.mapFile, *other, probe)) return true;
    }
    return false;
}

bool LoadInput(const Options& options, const Console& console, DocumentBuffer& bytes) {
    if (IsStdStream(options.input)) return LoadDocument(console.in, bytes);
    return LoadDocument(std::filesystem::path(options.input), bytes);
}

// Writes all of text to stream; on failure gives the error's description.
std::optional<std::string> WriteStream(std::FILE* stream, std::string_view text) {
    errno = 0;
    const std::size_t written = std::fwrite(text.data(), 1, text.size(), stream);
    const bool flushed = std::fflush(stream) == 0;
    if (written == text.size() && flushed && !std::ferror(stream)) return std::nullopt;
    return IoErrorDescription(IoCodeFromErrno(errno != 0 ? errno : EIO));
}

// Writes a file or standard output; on failure gives the error message without the program name.
std::optional<std::string> WriteResult(const std::string& name, std::string_view text, const Console& console) {
    std::optional<std::string> failure;
    if (IsStdStream(name)) {
        failure = WriteStream(console.out, text);
    } else {
        try {
            SaveDocument(std::filesystem::path(name), text);
        } catch (const IoError& error) {
            failure = error.what();
        }
    }
    if (!failure) return std::nullopt;
    return name + ": " + TopLevelErrorText(std::move(*failure));
}

// Writes the new text of run into the file name as the run makes it; on failure gives the error
// message without the program name.
std::optional<std::string> WriteRun(const std::string& name, PreparedRun& run) {
    try {
        SaveDocument(std::filesystem::path(name), [&run](const std::function<void(std::string_view)>& write) {
            run.WriteTo(write);
        });
    } catch (const IoError& error) {
        return name + ": " + TopLevelErrorText(error.what());
    }
    return std::nullopt;
}

}  // namespace

int RunCommand(const Options& options, const Console& console) {
    const FilesystemProbe probe;

    if (!IsStdStream(options.input) && !probe.IsExistingFile(options.input)) {
        return Fail(console, rsGeenInvoer, kExitBadInput);
    }
    DocumentBuffer loaded;
    if (!LoadInput(options, console, loaded)) return Fail(console, rsVerkeerdFormaat, kExitBadInput);

    if (const std::optional<ResString> failed = CheckNamesAndData(options, loaded.Text(), probe)) {
        return Fail(console, *failed, ExitCodeFor(*failed));
    }
    if (MapCollides(options, probe)) {
        return Fail(console, kMapCollision, kExitUsage);
    }

    // Reports never go to standard output when that carries the result.
    std::FILE* const report = IsStdStream(options.output) ? console.err : console.out;
    const bool showProgress = console.errIsTerminal && !options.quiet;
    const bool wantMap = !options.mapFile.empty();
    const auto started = std::chrono::steady_clock::now();

    // The last run of a save to a file writes its new text straight into the file: that text is
    // then never whole in memory beside the old one, and is not copied once more on its way out.
    // The runs before it change the text in memory, so it is copied out of the loaded bytes.
    const bool writeLastRunDirectly = !options.dryRun && !IsStdStream(options.output);
    const std::size_t runsInMemory = options.runs.size() - (writeLastRunDirectly ? 1 : 0);
    std::string text;
    std::string_view current = loaded.Text();
    if (runsInMemory > 0) {
        try {
            ReserveLarge(text, current.size());
            text.assign(current);
        } catch (const std::bad_alloc&) {
            return Fail(console, kOutOfMemory, kExitRunRefused);
        }
        loaded = DocumentBuffer();
        current = text;
    }
    std::vector<std::string> countTexts;
    std::string mapText;
    NullRenumberSink silent;
    std::optional<TerminalProgress> progress;
    std::optional<PreparedRun> lastRun;
    try {
        for (std::size_t i = 0; i < options.runs.size(); ++i) {
            const RunRequest& run = options.runs[i];
            progress.reset();
            if (showProgress) {
                progress.emplace(run.choice.tag, [&console](std::string_view line) {
                    std::fwrite(line.data(), 1, line.size(), console.err);
                    std::fflush(console.err);
                });
            }
            RenumberSink& sink = progress ? static_cast<RenumberSink&>(*progress) : silent;
            if (writeLastRunDirectly && i + 1 == options.runs.size()) {
                lastRun.emplace(current, run.choice.tag, run.choice.letter, run.startNumber, sink);
                break;
            }
            std::vector<Renumbering> changes;
            const std::size_t count = RenumberRecords(text, run.choice.tag, run.choice.letter, run.startNumber,
                                                      sink, wantMap ? &changes : nullptr);
            current = text;
            if (progress) progress->Finish();
            countTexts.push_back(CountText(run.choice.tag, count));
            AppendMapLines(mapText, run.choice.tag, changes);
        }
    } catch (const DuplicateSerialError&) {
        return Fail(console, rsNummersDubbel, kExitRunRefused);
    } catch (const std::bad_alloc&) {
        return Fail(console, kOutOfMemory, kExitRunRefused);
    }

    if (!options.dryRun) {
        std::optional<std::string> failure;
        if (lastRun) {
            try {
                failure = WriteRun(options.output, *lastRun);
            } catch (const std::bad_alloc&) {
                return Fail(console, kOutOfMemory, kExitRunRefused);
            }
            if (progress) progress->Finish();
            const RunRequest& run = options.runs.back();
            countTexts.push_back(CountText(run.choice.tag, lastRun->Count()));
            if (wantMap) AppendMapLines(mapText, run.choice.tag, lastRun->Changes());
        } else {
            failure = WriteResult(options.output, current, console);
        }
        if (failure) return Fail(console, *failure, kExitWriteFailed);
        if (wantMap) {
            // The output exists now, so the file system itself can tell whether the map would
            // land on it under a name the checks above could not see through (a short name, say).
            if (MapCollides(options, probe)) return Fail(console, kMapCollision, kExitUsage);
            if (const auto mapFailure = WriteResult(options.mapFile, mapText, console)) {
                return Fail(console, *mapFailure, kExitWriteFailed);
            }
        }
    }

    if (!options.quiet) {
        for (const std::string& line : countTexts) WriteLine(report, line);
        if (options.dryRun) WriteLine(report, "proefdraaien: er is niets geschreven");
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started);
        // Like the window's tick count: 32 bits of milliseconds.
        WriteLine(report, ElapsedTimeText(static_cast<std::uint32_t>(elapsed.count())));
    }
    return kExitDone;
}

}  // namespace halvern::cli
