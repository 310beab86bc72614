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

#include "app/RenumberJob.h"
#include "app/ReportText.h"
#include "app/RunChecks.h"
#include "app/StatusTexts.h"
#include "app/tResStr.h"
#include "cli/ExitCodes.h"
#include "cli/HelpText.h"
#include "cli/MapText.h"
#include "cli/TerminalProgress.h"
#include "core/Document.h"
#include "core/DocumentBuffer.h"
#include "core/IoErrorCode.h"
#include "core/LargeBuffer.h"
#include "core/RecordTypes.h"
#include "core/ReferenceReport.h"
#include "core/Renumber.h"
#include "core/Utf16Text.h"

namespace halvern::cli {

namespace {

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

// Loads the input's bytes; a UTF-16 file is taken too, and encoding says which it was.
bool LoadInput(const Options& options, const Console& console, DocumentBuffer& bytes, TextEncoding& encoding) {
    if (IsStdStream(options.input)) return LoadDocument(console.in, bytes, &encoding);
    return LoadDocument(std::filesystem::path(options.input), bytes, &encoding);
}

// Every record type the text holds that has a default form, each from 1.
std::vector<JobRun> RunsForAllTypes(std::string_view text) {
    std::vector<JobRun> runs;
    for (const std::string& tag : RecordTags(text)) {
        if (const std::optional<std::string_view> prefix = DefaultPrefix(tag)) {
            runs.push_back(JobRun{tag, IdentifierForm{std::string(*prefix), kDefaultSerialWidth}, 1});
        }
    }
    return runs;
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

}  // namespace

int RunCommand(const Options& options, const Console& console) {
    const FilesystemProbe probe;

    if (!IsStdStream(options.input) && !probe.IsExistingFile(options.input)) {
        return Fail(console, rsGeenInvoer, kExitBadInput);
    }
    DocumentBuffer loaded;
    TextEncoding encoding = TextEncoding::kEightBit;
    if (!LoadInput(options, console, loaded, encoding)) return Fail(console, rsVerkeerdFormaat, kExitBadInput);
    // A UTF-16 file is renumbered as its working text and written in UTF-16 again.
    std::string working;
    if (encoding != TextEncoding::kEightBit) {
        working = ToWorkingText(loaded.Text(), encoding);
        loaded = DocumentBuffer();
    }
    const std::string_view source = encoding != TextEncoding::kEightBit ? std::string_view(working) : loaded.Text();

    const bool checkAlone = options.output.empty();
    if (checkAlone) {
        if (!HasData(source)) return Fail(console, rsGeenGegevens, kExitBadInput);
        const ReferenceReport found = MakeReferenceReport(source);
        WriteText(console.out, ReferenceReportText(found));
        return ProblemCount(found) == 0 ? kExitDone : kExitProblems;
    }
    if (const std::optional<ResString> failed = CheckNamesAndData(options, source, probe)) {
        return Fail(console, *failed, ExitCodeFor(*failed));
    }
    if (MapCollides(options, probe)) {
        return Fail(console, kMapCollision, kExitUsage);
    }

    // Reports never go to standard output when that carries the result.
    std::FILE* const report = IsStdStream(options.output) ? console.err : console.out;
    TerminalProgress progressLine([&console](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), console.err);
        std::fflush(console.err);
    });
    ProgressThrottle throttle(progressLine, TerminalProgress::kPace);
    NullJobListener silent;
    JobListener& listener = console.errIsTerminal && !options.quiet ? static_cast<JobListener&>(throttle) : silent;
    const bool wantMap = !options.mapFile.empty();
    std::vector<JobRun> runs = options.allTypes ? RunsForAllTypes(source) : options.runs;
    RenumberJob job(runs, listener, wantMap, encoding);
    // The loaded bytes go as soon as the first run has made a text of its own.
    const auto releaseSource = [&loaded, &working] {
        loaded = DocumentBuffer();
        working = std::string();
    };

    JobResult result;
    std::string inMemory;
    // The report reads the result, so it is then made in memory and written whole.
    const bool resultInMemory = options.dryRun || IsStdStream(options.output) || options.check;
    if (runs.empty()) {
        inMemory.assign(source);
    } else if (resultInMemory) {
        result = job.RunInMemory(source, inMemory, releaseSource);
    } else {
        // The last run writes its new text straight into the file: it is never whole in memory.
        result = job.RunAndSave(source, std::filesystem::path(options.output), nullptr, releaseSource);
    }
    switch (result.status) {
        case JobStatus::Done: break;
        case JobStatus::Refused:
        case JobStatus::OutOfMemory: return Fail(console, result.message, kExitRunRefused);
        case JobStatus::Collides: return Fail(console, result.message + " (" + result.identifier + ")", kExitRunRefused);
        case JobStatus::SaveFailed: return Fail(console, options.output + ": " + result.message, kExitWriteFailed);
    }
    if (!options.dryRun && (resultInMemory || runs.empty())) {
        const std::string written = encoding != TextEncoding::kEightBit ? FromWorkingText(inMemory, encoding) : std::string();
        if (auto failure = WriteResult(options.output, encoding != TextEncoding::kEightBit ? written : inMemory, console)) {
            return Fail(console, *failure, kExitWriteFailed);
        }
    }
    if (!options.dryRun && wantMap) {
        std::string mapText;
        for (std::size_t i = 0; i < result.changes.size(); ++i) {
            AppendMapLines(mapText, runs[i].tag, result.changes[i]);
        }
        // The output exists now, so the file system itself can tell whether the map would land on
        // it under a name the checks above could not see through (a short name, say).
        if (MapCollides(options, probe)) return Fail(console, kMapCollision, kExitUsage);
        if (const auto mapFailure = WriteResult(options.mapFile, mapText, console)) {
            return Fail(console, *mapFailure, kExitWriteFailed);
        }
    }

    if (!options.quiet) {
        for (const std::string& line : result.countTexts) WriteLine(report, line);
        if (options.dryRun) WriteLine(report, "proefdraaien: er is niets geschreven");
        WriteLine(report, ElapsedTimeText(result.elapsedMilliseconds));
    }
    if (options.check) {
        const ReferenceReport found = MakeReferenceReport(inMemory);
        WriteText(report, ReferenceReportText(found));
        return ProblemCount(found) == 0 ? kExitDone : kExitProblems;
    }
    return kExitDone;
}

}  // namespace halvern::cli
