#pragma once

#include <string_view>

#include "platform/Ui.h"

namespace velquin {

// The project's web page, from the build's project(): shown by the help windows' link label
// and opened by it.
inline constexpr std::string_view kWebAddress = VELQUIN_HOMEPAGE;

// Opens the web page in the system's browser; a failure shows nothing.
void OpenWebsite(Shell& shell);

}  // namespace velquin
