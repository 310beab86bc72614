#include "cli/RunCommand.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/FileProblem.h"
#include "app/RenumberJob.h"
#include "app/ReportText.h"
#include "app/RunChecks.h"
#include "app/StatusTexts.h"
#include "app/tResStr.h"
#include "base/AsciiText.h"
#include "cli/ExitCodes.h"
#include "cli/HelpText.h"
#include "cli/MapText.h"
#include "cli/TerminalProgress.h"
#include "core/CollectIdentifiers.h"
#include "core/Document.h"
#include "core/DocumentBuffer.h"
#include "core/FileName.h"
#include "core/IoErrorCode.h"
#include "core/LargeBuffer.h"
#include "core/RecordTypes.h"
#include "core/ReferenceReport.h"
#include "core/Renumber.h"
#include "core/Utf16Text.h"

#ifdef _WIN32
#include "platform/Win32FileProbe.h"
#endif

namespace halvern::cli {

namespace {

bool IsStdStream(const std::string& name) { return name == kStdStream; }

int Fail(const Console& console, std::string_view message, int exitCode) {
    WriteLine(console.err, std::string(kProgramName) + ": " + std::string(message));
    return exitCode;
}

int ExitCodeFor(const FailedCheck& failed) {
    switch (failed.check.id) {
        case rsGeenUitvoer.id:
        case rsZelfdeNaam.id: return kExitUsage;
        default: return kExitBadInput;  // rsGeenInvoer, rsGeenGegevens
    }
}

// The run's checks; a standard stream has no file to look at and is never the same file as another.
// The input has been read already, so check 1 passes.
std::optional<FailedCheck> CheckNamesAndData(const Options& options, std::string_view text,
                                             const FileProbe& probe) {
    if (!IsStdStream(options.input) && !IsStdStream(options.output)) {
        return FirstFailingCheck(options.input, options.output, text, probe);
    }
    if (!HasData(options.output)) return FailedCheck{rsGeenUitvoer, std::string(rsGeenUitvoer.text)};
    if (!HasData(text)) return FailedCheck{rsGeenGegevens, std::string(rsGeenGegevens.text)};
    return std::nullopt;
}

// The absolute name with links, "." and ".." resolved as far as the path exists. Windows file
// names ignore letter case, so there the name is compared in lower case (ASCII letters).
std::optional<std::filesystem::path::string_type> ResolvedName(const std::string& name) {
    using Unit = std::filesystem::path::value_type;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(FilePath(name), error);
    if (error) return std::nullopt;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
    if (error) return std::nullopt;
    // In the system's own units: a Windows name need not fit any 8-bit code page.
    std::filesystem::path::string_type text = resolved.generic_string<Unit>();
#ifdef _WIN32
    for (Unit& c : text) c = AsciiLower(c);
#endif
    return text;
}

// True when writing one name could overwrite the file of the other, also when neither exists yet
// ("uit.ged" and "./uit.ged").
bool SameTarget(const std::string& first, const std::string& second, const FileProbe& probe) {
    if (first == second || probe.SameExistingFile(first, second)) return true;
    const auto a = ResolvedName(first);
    const auto b = ResolvedName(second);
    return a && b && *a == *b;
}

bool MapCollides(const Options& options, const FileProbe& probe) {
    if (options.mapFile.empty()) return false;
    for (const std::string* other : {&options.input, &options.output}) {
        if (!IsStdStream(*other) && SameTarget(options.mapFile, *other, probe)) return true;
    }
    return false;
}

// Loads the input's bytes; a UTF-16 file is taken too, and encoding says which it was. A file that
// could not be opened leaves the C runtime's error number in openError.
bool LoadInput(const Options& options, const Console& console, DocumentBuffer& bytes, TextEncoding& encoding,
               int& openError) {
    openError = 0;
    if (IsStdStream(options.input)) return LoadDocument(console.in, bytes, &encoding);
    return LoadDocument(FilePath(options.input), bytes, &encoding, &openError);
}

// Every record type the text holds that has a default form, each from start. A type whose prefix
// an earlier one has already (SNOTE after NOTE) goes on from that one's last serial, so the two
// never make the same identifier: every record of the earlier type uses up a serial, one defined
// twice too. They are counted in the text as read: the runs before the earlier type leave its
// records as they are, unless an identifier of theirs itself begins with "@ " + its tag, and then
// the later type leaves a gap at most.
std::vector<JobRun> RunsForAllTypes(std::string_view text, std::int32_t start) {
    std::vector<JobRun> runs;
    for (const std::string& tag : RecordTags(text)) {
        const std::optional<std::string_view> prefix = DefaultPrefix(tag);
        if (!prefix) continue;
        JobRun run{tag, IdentifierForm{std::string(*prefix), kDefaultSerialWidth}, start};
        for (const JobRun& earlier : runs) {
            if (earlier.form.prefix == run.form.prefix) {
                run.startNumber = SerialNumber(earlier.startNumber, CollectIdentifiers(text, earlier.tag).size());
            }
        }
        runs.push_back(std::move(run));
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

// Writes standard output, or makes a file's save ready to be put in place (StagedSave); on failure
// gives the error message without the program name.
std::optional<std::string> WriteResult(const std::string& name, std::string_view text, const Console& console,
                                       std::unique_ptr<StagedSave>& staged) {
    std::optional<std::string> failure;
    if (IsStdStream(name)) {
        failure = WriteStream(console.out, text);
    } else {
        try {
            staged = std::make_unique<StagedSave>(FilePath(name), text);
        } catch (const IoError& error) {
            failure = error.what();
        }
    }
    if (!failure) return std::nullopt;
    return name + ": " + TopLevelErrorText(std::move(*failure));
}

// Puts a file made ready by WriteResult or the job in place, if there is one; on failure gives the
// error message as WriteResult does.
std::optional<std::string> PutInPlace(const std::string& name, const std::unique_ptr<StagedSave>& staged) {
    if (!staged) return std::nullopt;
    try {
        staged->Commit();
    } catch (const IoError& error) {
        return name + ": " + TopLevelErrorText(error.what());
    }
    return std::nullopt;
}

}  // namespace

int RunCommand(const Options& options, const Console& console) {
#ifdef _WIN32
    const Win32FileProbe probe;
#else
    const FilesystemProbe probe;
#endif

    // A name that is no file to open is told with the file and the reason.
    if (!IsStdStream(options.input)) {
        if (const std::optional<FileProblem> problem = probe.ProblemWith(options.input)) {
            return Fail(console, CannotOpenText(options.input, *problem), kExitBadInput);
        }
    }
    DocumentBuffer loaded;
    TextEncoding encoding = TextEncoding::kEightBit;
    int openError = 0;
    if (!LoadInput(options, console, loaded, encoding, openError)) {
        if (openError != 0) {
            return Fail(console, CannotOpenText(options.input, FileProblemFromErrno(openError)), kExitBadInput);
        }
        return Fail(console, rsVerkeerdFormaat, kExitBadInput);
    }
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
    if (const std::optional<FailedCheck> failed = CheckNamesAndData(options, source, probe)) {
        return Fail(console, failed->message, ExitCodeFor(*failed));
    }
    if (MapCollides(options, probe)) {
        return Fail(console, rsLijstBotst, kExitUsage);
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
    std::vector<JobRun> runs = options.allTypes ? RunsForAllTypes(source, options.allTypesStart) : options.runs;
    RenumberJob job(runs, listener, wantMap, encoding);
    // The loaded bytes go as soon as the first run has made a text of its own.
    const auto releaseSource = [&loaded, &working] {
        loaded = DocumentBuffer();
        working = std::string();
    };

    JobResult result;
    std::string inMemory;
    // Nothing is put in place before every file to be written is whole (see below).
    std::unique_ptr<StagedSave> stagedOutput;
    std::unique_ptr<StagedSave> stagedMap;
    // The report reads the result, so it is then made in memory and written whole.
    const bool resultInMemory = options.dryRun || IsStdStream(options.output) || options.check;
    if (runs.empty()) {
        inMemory.assign(source);
    } else if (resultInMemory) {
        result = job.RunInMemory(source, inMemory, releaseSource);
    } else {
        // The last run writes its new text straight into the file: it is never whole in memory.
        result = job.RunAndStage(source, FilePath(options.output), stagedOutput, releaseSource);
    }
    switch (result.status) {
        case JobStatus::Done: break;
        case JobStatus::Refused:
        case JobStatus::Collides:
        case JobStatus::OutOfMemory: return Fail(console, result.message, kExitRunRefused);
        case JobStatus::SaveFailed: return Fail(console, options.output + ": " + result.message, kExitWriteFailed);
    }
    if (!options.dryRun && wantMap) {
        std::string mapText;
        for (std::size_t i = 0; i < result.changes.size(); ++i) {
            AppendMapLines(mapText, runs[i].tag, result.changes[i]);
        }
        if (auto failure = WriteResult(options.mapFile, mapText, console, stagedMap)) {
            return Fail(console, *failure, kExitWriteFailed);
        }
    }
    if (!options.dryRun && (resultInMemory || runs.empty())) {
        const std::string written = encoding != TextEncoding::kEightBit ? FromWorkingText(inMemory, encoding) : std::string();
        const std::string_view text = encoding != TextEncoding::kEightBit ? written : inMemory;
        if (auto failure = WriteResult(options.output, text, console, stagedOutput)) {
            return Fail(console, *failure, kExitWriteFailed);
        }
    }
    // Both files are whole now; the map goes in place first, so that a map that cannot be written
    // leaves the output as it was.
    if (auto failure = PutInPlace(options.mapFile, stagedMap)) return Fail(console, *failure, kExitWriteFailed);
    // The map exists now, so the file system itself can tell whether the output would land on it
    // under a name the checks above could not see through (a short name, say).
    if (stagedMap && MapCollides(options, probe)) return Fail(console, rsLijstBotst, kExitUsage);
    if (auto failure = PutInPlace(options.output, stagedOutput)) return Fail(console, *failure, kExitWriteFailed);

    if (!options.quiet) {
        for (const std::string& line : result.countTexts) WriteLine(report, line);
        if (options.dryRun) WriteLine(report, rsProefdraaien);
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
