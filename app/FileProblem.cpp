#include "app/FileProblem.h"

#include <cerrno>

#include "app/RunChecks.h"
#include "app/tResStr.h"

namespace halvern {

FileProblem FileProblemFromErrno(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
        case ENOTDIR: return {FileProblem::Kind::Missing, errorNumber};
        case EISDIR: return {FileProblem::Kind::Folder, errorNumber};
        case EACCES:
        case EPERM: return {FileProblem::Kind::AccessDenied, errorNumber};
        default: return {FileProblem::Kind::Other, errorNumber};
    }
}

std::string CannotOpenText(std::string_view name, const FileProblem& problem) {
    if (!HasData(name)) return std::string(rsGeenInvoer.text);
    std::string text(rsHetBestand.text);
    text.append(rsSpatie.text).append(rsAanhalingsteken.text).append(name).append(rsAanhalingsteken.text);
    text.append(rsSpatie.text).append(rsKanNietOpenen.text).append(rsSpatie.text);
    switch (problem.kind) {
        case FileProblem::Kind::Missing: text.append(rsBestaatNiet.text); break;
        case FileProblem::Kind::Folder: text.append(rsIsEenMap.text); break;
        case FileProblem::Kind::AccessDenied: text.append(rsToegangGeweigerd.text); break;
        case FileProblem::Kind::Other:
            text.append(rsFoutcode.text).append(rsSpatie.text).append(std::to_string(problem.systemCode));
            text.append(rsPunt.text);
            break;
    }
    return text;
}

}  // namespace halvern
