#pragma once

#include <string>
#include <vector>

namespace velquin {

// The player's UI languages, most preferred first, as Qt reads them from LANGUAGE, LC_ALL,
// LC_MESSAGES and LANG ("de-DE", "de"). Needs no application object.
std::vector<std::string> PreferredLanguages();

}  // namespace velquin
