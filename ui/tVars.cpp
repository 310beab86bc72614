#include "ui/tVars.h"

namespace halvern {

GedcomDocument GedcomText;
std::string RecordTag;
std::string RecordLetter;
std::string ProgramDir;
std::string MailAddress;
std::string HomepageUrl;

}  // namespace halvern
