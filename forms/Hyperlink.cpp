#include "forms/Hyperlink.h"

namespace velquin {

void OpenWebsite(Shell& shell) {
  shell.Open(kWebAddress, "C:\\");
}

}  // namespace velquin
