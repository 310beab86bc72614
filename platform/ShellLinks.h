#pragma once
#include <string>

namespace halvern {

// Hand the maker's addresses to the shell: "Mailto:" + address to the mail program, the homepage
// to the browser. Results are not looked at.
void OpenMailProgram(const std::string& mailAddress);
void OpenHomepage(const std::string& homepageUrl);

}  // namespace halvern
