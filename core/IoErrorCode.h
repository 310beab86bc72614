#pragma once
#include <system_error>

namespace halvern {

// The program's I/O code for a C runtime error number: ENOENT 2; ENAMETOOLONG, EINVAL, ENOTDIR 3;
// EMFILE, ENFILE 4; EACCES, EPERM, EROFS, EISDIR 5; ENOSPC, EFBIG, EDQUOT 101; any other number as
// it is.
int IoCodeFromErrno(int errorNumber);

// The same for a system error: mapped through its portable condition when it has one, otherwise
// the system's own code.
int IoCodeFromError(const std::error_code& error);

}  // namespace halvern
