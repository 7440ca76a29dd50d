#pragma once

#include "platform/Ui.h"

namespace velquin {

// The desktop's default action: web addresses in the user's browser, and for the Windows
// Character Map the desktop's own character map program.
class QtShell final : public Shell {
 public:
  void Open(std::string_view file, std::string_view workingDirectory) override;
};

}  // namespace velquin
