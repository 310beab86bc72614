// The engine as the page's worker calls it: plain C functions over the one DocumentSession.
// Strings come in as UTF-8 and go out as pointers to texts that stay valid until the next call
// of the same function. Progress texts go straight to the page from inside a run.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <string>

#include "app/KeepList.h"
#include "app/StatusTexts.h"
#include "app/tResStr.h"
#include "core/NumberingOrder.h"
#include "core/RecordTypes.h"
#include "web/engine/DocumentSession.h"
#include "web/engine/RunRequest.h"
#include "web/engine/PageProgress.h"
#include "web/engine/WarmUp.h"

// Posts one panel text to the page (the worker's global postMessage).
EM_JS(void, hv_post_panel_text, (int panel, const char* text), {
    postMessage({type : 'panel', panel : panel, text : UTF8ToString(text >>> 0)});
});

namespace {

halvern::web::DocumentSession session;

// The texts the last run left for the page.
struct RunTexts {
    std::string message;  // a refusal's text, empty when the run was done
    std::string progress;
    std::string elapsed;
    std::uint32_t elapsedMs = 0;
    std::string count;
};
RunTexts lastRun;

// The message of a check that failed, empty when every check passed.
const char* CheckText(const std::optional<halvern::FailedCheck>& failed) {
    static std::string text;
    text = failed ? failed->message : std::string();
    return text.c_str();
}

// The catalogue's names and texts are NUL-terminated literals, so their data() can go out as they are.
static_assert(halvern::rsGeenInvoer.text.data()[halvern::rsGeenInvoer.text.size()] == '\0');
static_assert(halvern::rsGeenInvoer.name.data()[halvern::rsGeenInvoer.name.size()] == '\0');

}  // namespace

extern "C" {

// The message catalogue, entry by entry: its size, and each entry's name and text.
EMSCRIPTEN_KEEPALIVE std::size_t hv_catalogue_size() { return halvern::Catalogue().size(); }
EMSCRIPTEN_KEEPALIVE const char* hv_catalogue_name(std::size_t entry) { return halvern::Catalogue()[entry].name.data(); }
EMSCRIPTEN_KEEPALIVE const char* hv_catalogue_text(std::size_t entry) { return halvern::Catalogue()[entry].text.data(); }

EMSCRIPTEN_KEEPALIVE void hv_warm_up() { halvern::web::WarmUpEngine(); }

// Where the file's bytes go; null when there is no memory for them.
EMSCRIPTEN_KEEPALIVE char* hv_prepare_load(std::size_t size, const char* name) {
    try {
        return session.PrepareLoad(size, name);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// 1 when the bytes became the document, 0 when they are no GEDCOM text, -1 when memory ran out.
EMSCRIPTEN_KEEPALIVE int hv_finish_load() {
    try {
        return session.FinishLoad() ? 1 : 0;
    } catch (const std::bad_alloc&) {  // a UTF-16 file's working text did not fit
        session.PrepareLoad(0, {});
        return -1;
    }
}

// The prefix a type's identifiers get when none is typed ("I" for INDI), empty for none.
EMSCRIPTEN_KEEPALIVE const char* hv_default_prefix(const char* tag) {
    static std::string prefix;
    prefix = halvern::DefaultPrefix(tag).value_or("");
    return prefix.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* hv_check_run() { return CheckText(session.CheckRun()); }

EMSCRIPTEN_KEEPALIVE const char* hv_check_save(const char* outputName) {
    return CheckText(session.CheckSave(outputName));
}

EMSCRIPTEN_KEEPALIVE const char* hv_start_text(const char* timeOfDay) {
    static std::string text;
    text = halvern::StartText(timeOfDay);
    return text.c_str();
}

// One run, its new numbers in order ("definition", "old" or "name"), keeping those of the earlier
// map of keepSize bytes at keep (none when keepSize is 0); 1 when it was done, 0 when it was
// refused or the map cannot be used (hv_run_message tells why), -1 for a request that is no run
// (a form or an order the page never offers).
EMSCRIPTEN_KEEPALIVE int hv_run(const char* tag, const char* prefix, int width, const char* startBoxText,
                                const char* order, const char* keep, std::size_t keepSize) {
    lastRun = RunTexts{};
    std::optional<halvern::JobRun> run = halvern::web::RunFromChoice(tag, prefix, width, startBoxText);
    const std::optional<halvern::NumberingOrder> numberingOrder = halvern::NumberingOrderNamed(order);
    if (!run || !numberingOrder) return -1;
    run->order = *numberingOrder;
    std::optional<halvern::KeepList> list;
    if (keepSize > 0) {
        try {
            list = halvern::ReadKeepList(std::string(keep, keepSize), session.Document().Encoding());
        } catch (const halvern::KeepListError& error) {
            lastRun.message = error.what();
            return 0;
        }
    }
    halvern::web::PageProgress page(
        [](int panel, const std::string& text) { hv_post_panel_text(panel, text.c_str()); });
    halvern::ProgressThrottle progress(page, halvern::web::PageProgress::kPace);
    halvern::JobResult result;
    try {
        result = session.Run(*run, progress, list ? &*list : nullptr);
    } catch (const std::bad_alloc&) {  // the map of the run's identifiers did not fit
        result = {.status = halvern::JobStatus::OutOfMemory, .message = std::string(halvern::rsGeenGeheugen.text)};
    }
    if (!result.Succeeded()) {
        lastRun.message = result.message;
        return 0;
    }
    lastRun.progress = page.LastMessage();
    lastRun.elapsed = halvern::ElapsedTimeText(result.elapsedMilliseconds);
    lastRun.elapsedMs = result.elapsedMilliseconds;
    lastRun.count = result.countTexts.empty() ? std::string() : result.countTexts.front();
    return 1;
}

EMSCRIPTEN_KEEPALIVE const char* hv_run_message() { return lastRun.message.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* hv_run_progress() { return lastRun.progress.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* hv_run_elapsed() { return lastRun.elapsed.c_str(); }
EMSCRIPTEN_KEEPALIVE std::uint32_t hv_run_elapsed_ms() { return lastRun.elapsedMs; }
EMSCRIPTEN_KEEPALIVE const char* hv_run_count() { return lastRun.count.c_str(); }

// The bytes to download: where they start, and how many (valid until hv_release_output or a run).
EMSCRIPTEN_KEEPALIVE const char* hv_output() {
    try {
        return session.Output().data();
    } catch (const std::bad_alloc&) {  // no room for a UTF-16 file's bytes
        return nullptr;
    }
}
EMSCRIPTEN_KEEPALIVE std::size_t hv_output_size() { return session.Output().size(); }
EMSCRIPTEN_KEEPALIVE void hv_release_output() { session.ReleaseOutput(); }

EMSCRIPTEN_KEEPALIVE const char* hv_map() { return session.MapText().data(); }
EMSCRIPTEN_KEEPALIVE std::size_t hv_map_size() { return session.MapText().size(); }

}  // extern "C"
