#include "ui/tVars.h"

namespace halvern {

std::string GedcomText;
TextEncoding GedcomEncoding = TextEncoding::kEightBit;
std::string RecordTag;
std::string RecordLetter;
std::string ProgramDir;
std::string MailAddress;
std::string HomepageUrl;

}  // namespace halvern
