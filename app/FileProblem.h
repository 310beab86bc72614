#pragma once
#include <string>
#include <string_view>

namespace halvern {

// Why a named file cannot be opened for reading.
struct FileProblem {
    enum class Kind { Missing, Folder, AccessDenied, Other };
    Kind kind;
    int systemCode = 0;  // the system's error code (an errno value, or a Windows error)
};

// The problem a C runtime error number stands for.
FileProblem FileProblemFromErrno(int errorNumber);

// The message for a file that cannot be opened, from the catalogue: the file named and the
// reason, 'Het bestand "stamboom.ged" kan niet geopend worden: het bestaat niet.'. A name that is
// empty or blank names no file: then it is "Er is geen bestand opgegeven om te openen.".
std::string CannotOpenText(std::string_view name, const FileProblem& problem);

}  // namespace halvern
