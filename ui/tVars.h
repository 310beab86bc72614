#pragma once
#include <string>

#include "app/GedcomDocument.h"

// The texts the whole program shares. They are empty when the program starts and live until it
// ends; nothing else in the program is global.
namespace halvern {

// The application's title: the main window's caption and the caption of its message boxes.
inline constexpr char ApplicationTitle[] = "Halvern";

extern GedcomDocument GedcomText;  // the current document, with how its file is written
extern std::string RecordTag;     // "INDI", "FAM", "NOTE" or "SOUR": the record type of the latest run
extern std::string RecordLetter;  // "I", "F", "N" or "S": the identifier letter that goes with it
extern std::string ProgramDir;    // the program file's folder (UTF-8), without a trailing backslash
extern std::string MailAddress;   // the maker's e-mail address from the information store
extern std::string HomepageUrl;   // the maker's homepage from the information store

}  // namespace halvern
