#pragma once

#include <string>
#include <vector>

namespace velquin {

// The user's preferred UI languages, most preferred first ("de-DE"), from
// GetUserPreferredUILanguages; Wine derives them from LANG and LC_MESSAGES. Empty when the
// system has no such call.
std::vector<std::string> PreferredLanguages();

}  // namespace velquin
