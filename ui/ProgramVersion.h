#pragma once

// The version of Halvern, in one place: the resource scripts (version resource) and the C++ code
// include this header. Plain macros, because the resource compiler understands nothing else.
#define HALVERN_VERSION_MAJOR 5
#define HALVERN_VERSION_MINOR 2
#define HALVERN_VERSION_TEXT "5.02"
// The four numbers of a Windows file version: 5.02 is 5,2,0,0.
#define HALVERN_FILE_VERSION HALVERN_VERSION_MAJOR, HALVERN_VERSION_MINOR, 0, 0

#define HALVERN_COMPANY_NAME "Zandrix"
#define HALVERN_PRODUCT_NAME "Halvern"
#define HALVERN_COPYRIGHT "Copyright (C) 2021 Zandrix"

#ifndef RC_INVOKED
#include <string_view>

namespace halvern {
inline constexpr std::string_view kProgramVersion = HALVERN_VERSION_TEXT;
}  // namespace halvern
#endif
