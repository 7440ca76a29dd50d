#pragma once

#include <array>
#include <string>

#include "core/PlayerFileLayout.h"
#include "platform/CodePage.h"
#include "platform/FileAccess.h"

namespace velquin {

// Whether a save wrote every field; the window says so in the player's words.
struct SaveOutcome {
  bool saved;
};

// Patches the five names into the player file, all or nothing: every text is turned into bytes
// before the file is opened, and the disk space for every field is taken before the first is
// written, so a character the code page cannot hold, an empty game folder or a full disk
// writes nothing. The fields become the file's together at the commit, so that a kill or a
// power cut midway leaves the old file; where the file is patched in place, a save whose
// write or flush fails puts back the bytes it wrote over and the file's length. A file whose
// old bytes cannot be read is not written.
SaveOutcome SaveNames(const std::string& gamePath, const std::array<std::string, kNameSlots>& names,
                      FileAccess& files, const CodePage& codePage);

// The same for the ten macros, each kept inside its own 40-byte slot.
SaveOutcome SaveMacros(const std::string& gamePath, const std::array<std::string, kMacroSlots>& macros,
                       FileAccess& files, const CodePage& codePage);

}  // namespace velquin
