#include "web/engine/WarmUp.h"

#include <string>

#include "app/ProgressThrottle.h"
#include "app/RenumberJob.h"
#include "core/RecordTypes.h"
#include "web/engine/DocumentSession.h"
#include "web/engine/PageProgress.h"

namespace halvern::web {

namespace {

constexpr int kIndividuals = 3000;
constexpr int kRounds = 4;

// With uniqueIds, every tenth individual has a unique identifier (the map's fourth column).
std::string MadeUpTree(bool uniqueIds) {
    std::string text = "0 HEAD\n1 CHAR UTF-8\n";
    for (int i = kIndividuals; i > 0; --i) {
        const std::string n = std::to_string(i);
        const std::string family = std::to_string(i / 3);
        text += "0 @P" + n + "@ INDI\n1 NAME Jan /Jansen" + n + "/\n1 FAMC @G" + family + "@\n1 NOTE @N" + n + "@\n";
        if (uniqueIds && i % 10 == 0) text += "1 _UID " + n + "\n";
        if (i % 3 == 0) text += "0 @G" + family + "@ FAM\n1 CHIL @P" + n + "@\n";
        text += "0 @N" + n + "@ NOTE geboren te Utrecht\n";
    }
    return text + "0 TRLR\n";
}

}  // namespace

void WarmUpEngine() {
    // The page's own listener, drawing nothing: the events of a run take the path they take there.
    PageProgress silentPage([](int, const std::string&) {});
    const std::string trees[] = {MadeUpTree(false), MadeUpTree(true)};
    for (int round = 0; round < kRounds; ++round) {
        ProgressThrottle listener(silentPage, PageProgress::kPace);
        const std::string& tree = trees[round % 2];
        DocumentSession session;
        char* bytes = session.PrepareLoad(tree.size(), "warm-up");
        tree.copy(bytes, tree.size());
        session.FinishLoad();
        for (const char* tag : {"INDI", "FAM", "NOTE"}) {
            session.Run(JobRun{tag, IdentifierForm{std::string(*DefaultPrefix(tag)), kDefaultSerialWidth}, 1}, listener);
        }
    }
}

}  // namespace halvern::web
