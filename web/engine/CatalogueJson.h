#pragma once
#include <string>

namespace halvern::web {

// The catalogue texts the page shows, as one JSON object from each text's name to its text
// ({"rsBerichten":"berichten", ...}): the page takes every text of its own from here.
std::string CatalogueJson();

}  // namespace halvern::web
