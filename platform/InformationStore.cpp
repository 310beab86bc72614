#include "platform/InformationStore.h"

// Stand-in until the registry store lands.
namespace halvern {
void WriteInformationStore(const std::string&) {}
OutsideAddresses ReadOutsideAddresses() { return {}; }
}  // namespace halvern
