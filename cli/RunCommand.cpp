#include "cli/RunCommand.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/GedcomDocument.h"
#include "app/KeepList.h"
#include "app/RenumberJob.h"
#include "app/ReportText.h"
#include "app/RunChecks.h"
#include "app/StatusTexts.h"
#include "app/tResStr.h"
#include "base/AsciiText.h"
#include "cli/ExitCodes.h"
#include "cli/HelpText.h"
#include "cli/TerminalProgress.h"
#include "core/CollectIdentifiers.h"
#include "core/Document.h"
#include "core/FileName.h"
#include "core/IoErrorCode.h"
#include "core/RecordTypes.h"
#include "core/ReferenceReport.h"
#include "core/Renumber.h"

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

// An end of the job as the checks see it: a file, or a standard stream.
JobEnd EndNamed(const std::string& name) {
    return JobEnd{name, IsStdStream(name) ? JobEnd::Kind::kStream : JobEnd::Kind::kFile};
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
    GedcomDocument document;
    const std::optional<LoadFailure> unloaded =
        IsStdStream(options.input) ? document.Load(console.in) : document.Load(options.input, probe);
    if (unloaded) return Fail(console, unloaded->message, kExitBadInput);

    // The report on the document as it is now, to stream; the exit status it gives.
    const auto report = [&document](std::FILE* stream) {
        const ReferenceReport found = MakeReferenceReport(document.Text());
        WriteText(stream, ReferenceReportText(found, document.Encoding()));
        return ProblemCount(found) == 0 ? kExitDone : kExitProblems;
    };
    const bool checkAlone = options.output.empty();
    const std::optional<JobEnd> output = checkAlone ? std::nullopt : std::optional(EndNamed(options.output));
    if (const std::optional<FailedCheck> failed = FirstFailingCheck(EndNamed(options.input), output, document, &probe)) {
        return Fail(console, failed->message, ExitCodeFor(*failed));
    }
    if (checkAlone) return report(console.out);
    if (MapCollides(options, probe)) {
        return Fail(console, rsLijstBotst, kExitUsage);
    }

    // Reports never go to standard output when that carries the result.
    std::FILE* const reportStream = IsStdStream(options.output) ? console.err : console.out;
    TerminalProgress progressLine([&console](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), console.err);
        std::fflush(console.err);
    });
    ProgressThrottle throttle(progressLine, TerminalProgress::kPace);
    NullJobListener silent;
    JobListener& listener = console.errIsTerminal && !options.quiet ? static_cast<JobListener&>(throttle) : silent;
    const bool wantMap = !options.mapFile.empty();
    std::vector<JobRun> runs = options.allTypes ? RunsForAllTypes(document.Text(), options.allTypesStart) : options.runs;
    for (JobRun& run : runs) run.order = options.order;
    // The loaded text goes as soon as the first run has made a text of its own.
    RenumberJob job(runs, listener, wantMap, DocumentUse::kSpend);
    std::optional<KeepList> keep;
    if (!options.keepFile.empty()) {
        LoadedKeepList loaded = LoadKeepList(options.keepFile, probe, document.Encoding());
        if (!loaded.list) return Fail(console, loaded.message, kExitBadInput);
        keep = std::move(loaded.list);
        job.Keep(&*keep);
    }

    // Nothing is put in place before every file to be written is whole (see below).
    std::unique_ptr<StagedSave> stagedOutput;
    std::unique_ptr<StagedSave> stagedMap;
    // The report reads the result, so it is then made in memory and written whole; otherwise the
    // last run writes its new text straight into the file, and it is never whole in memory.
    const bool resultInMemory = options.dryRun || IsStdStream(options.output) || options.check;
    const JobResult result =
        resultInMemory ? job.Run(document) : job.RunAndStage(document, FilePath(options.output), stagedOutput);
    switch (result.status) {
        case JobStatus::Done: break;
        case JobStatus::Refused:
        case JobStatus::Collides:
        case JobStatus::OutOfMemory: return Fail(console, result.message, kExitRunRefused);
        case JobStatus::SaveFailed: return Fail(console, options.output + ": " + result.message, kExitWriteFailed);
    }
    if (!options.dryRun && wantMap) {
        if (auto failure = WriteResult(options.mapFile, result.map, console, stagedMap)) {
            return Fail(console, *failure, kExitWriteFailed);
        }
    }
    if (!options.dryRun && resultInMemory) {
        std::string storage;
        if (auto failure = WriteResult(options.output, document.FileBytes(storage), console, stagedOutput)) {
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
        for (const std::string& line : result.countTexts) WriteLine(reportStream, line);
        if (options.dryRun) WriteLine(reportStream, rsProefdraaien);
        WriteLine(reportStream, ElapsedTimeText(result.elapsedMilliseconds));
    }
    return options.check ? report(reportStream) : kExitDone;
}

}  // namespace halvern::cli
