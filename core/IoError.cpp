#include "core/Document.h"
#include "core/IoErrorCode.h"

#include <cerrno>

namespace halvern {

std::string IoErrorDescription(int code) {
    switch (code) {
        case 2: return "File not found";
        case 3: return "Invalid filename";
        case 4: return "Too many open files";
        case 5: return "File access denied";
        case 101: return "Disk full";
        default: return "I/O error " + std::to_string(code);
    }
}

IoError::IoError(int code) : std::runtime_error(IoErrorDescription(code)), code_(code) {}

int IoCodeFromErrno(int errorNumber) {
    switch (errorNumber) {
        case ENOENT: return 2;
        case ENAMETOOLONG:
        case EINVAL:
        case ENOTDIR: return 3;
        case EMFILE:
        case ENFILE: return 4;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return 5;
        case ENOSPC:
        case EFBIG:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return 101;
        default: return errorNumber;
    }
}

int IoCodeFromError(const std::error_code& error) {
    const std::error_condition condition = error.default_error_condition();
    if (condition.category() == std::generic_category()) return IoCodeFromErrno(condition.value());
    return error.value();
}

}  // namespace halvern
