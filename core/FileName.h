#pragma once
#include <filesystem>
#include <string_view>

namespace halvern {

// A file name as the programs hold it (UTF-8: as typed, chosen in a dialog, dropped or given on the
// command line) as a path for the file system; the one way a name becomes a path. POSIX takes its
// bytes as they are. Windows takes its UTF-16 form, and a name whose full form comes near the
// classic limit of Windows' file calls (MAX_PATH, with room for the save's temporary file beside
// it) as that full form behind "\\?\", so long names work, relative ones too. Each system's
// SystemCalls source file implements it.
std::filesystem::path FilePath(std::string_view name);

}  // namespace halvern
