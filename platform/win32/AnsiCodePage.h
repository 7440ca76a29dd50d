#pragma once

#include "platform/CodePageTable.h"

namespace velquin {

// The system's ANSI code page (CP_ACP), converting strictly: no best fit, no default "?". The
// system is asked for its 256 bytes once, when this is made; every conversion after that is a
// lookup.
class AnsiCodePage final : public CodePageTable {
 public:
  AnsiCodePage();
};

}  // namespace velquin
