#include "web/engine/DocumentSession.h"

#include <cstring>
#include <utility>

#include "app/RunChecks.h"
#include "cli/MapText.h"

namespace halvern::web {

namespace {

// The checks' view of the browser: the only file there is the one that was opened, and a
// download never lands on it.
class OpenedFileProbe final : public FileProbe {
public:
    OpenedFileProbe(const std::string& opened, bool loaded) : opened_(opened), loaded_(loaded) {}
    std::optional<FileProblem> ProblemWith(const std::string& name) const override {
        if (loaded_ && name == opened_) return std::nullopt;
        return FileProblem{FileProblem::Kind::Missing};
    }
    bool SameExistingFile(const std::string&, const std::string&) const override { return false; }

private:
    const std::string& opened_;
    bool loaded_;
};

}  // namespace

char* DocumentSession::PrepareLoad(std::size_t size, std::string name) {
    loaded_ = false;
    encoding_ = TextEncoding::kEightBit;
    std::string().swap(output_);
    std::string().swap(map_);
    std::string().swap(text_);
    name_ = std::move(name);
    text_.resize(size);
    return text_.data();
}

bool DocumentSession::FinishLoad() {
    // As halvern-cli loads a file: a byte 0 is allowed only in UTF-16.
    const TextEncoding found = DetectTextEncoding(text_);
    if (found == TextEncoding::kEightBit && std::memchr(text_.data(), 0, text_.size()) != nullptr) {
        std::string().swap(text_);
        return false;
    }
    if (found != TextEncoding::kEightBit) {
        std::string working = ToWorkingText(text_, found);
        text_.swap(working);
    }
    encoding_ = found;
    loaded_ = true;
    return true;
}

std::optional<ResString> DocumentSession::CheckRun() const {
    if (!loaded_) return rsGeenInvoer;
    if (!HasData(text_)) return rsGeenGegevens;
    return std::nullopt;
}

std::optional<ResString> DocumentSession::CheckSave(const std::string& outputName) const {
    if (const auto failed = FirstFailingCheck(name_, outputName, text_, OpenedFileProbe(name_, loaded_))) {
        return failed->check;
    }
    return std::nullopt;
}

JobResult DocumentSession::Run(const JobRun& run, JobListener& listener) {
    RenumberJob job({run}, listener, true, encoding_);
    // The result goes to the document itself, and only when the run succeeded.
    JobResult result = job.RunInMemory(text_, text_);
    if (result.Succeeded()) {
        std::string().swap(output_);
        for (const std::vector<Renumbering>& changes : result.changes) cli::AppendMapLines(map_, run.tag, changes);
        result.changes.clear();
    }
    return result;
}

std::string_view DocumentSession::Output() {
    if (encoding_ == TextEncoding::kEightBit) return text_;
    if (output_.empty()) output_ = FromWorkingText(text_, encoding_);
    return output_;
}

void DocumentSession::ReleaseOutput() { std::string().swap(output_); }

}  // namespace halvern::web
