#include "web/engine/DocumentSession.h"

#include <utility>

namespace halvern::web {

char* DocumentSession::PrepareLoad(std::size_t size, std::string name) {
    std::string().swap(output_);
    std::string().swap(map_);
    name_ = std::move(name);
    return document_.PrepareLoad(size);
}

std::optional<FailedCheck> DocumentSession::CheckRun() const {
    return FirstFailingCheck({name_, JobEnd::Kind::kPage}, std::nullopt, document_, nullptr);
}

std::optional<FailedCheck> DocumentSession::CheckSave(const std::string& outputName) const {
    return FirstFailingCheck({name_, JobEnd::Kind::kPage}, JobEnd{outputName, JobEnd::Kind::kPage}, document_,
                             nullptr);
}

JobResult DocumentSession::Run(const JobRun& run, JobListener& listener, const KeepList* keep) {
    // The result goes to the document itself, and only when the run succeeded.
    RenumberJob job({run}, listener, true);
    job.Keep(keep);
    JobResult result = job.Run(document_);
    if (result.Succeeded()) {
        ReleaseOutput();
        map_ += result.map;
    }
    return result;
}

}  // namespace halvern::web
