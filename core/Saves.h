#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/PlayerFileLayout.h"
#include "platform/CodePage.h"
#include "platform/FileAccess.h"

namespace velquin {

inline constexpr std::string_view kNamesSaved = "Names saved!";
inline constexpr std::string_view kNamesNotSaved = "Can't save names!";
inline constexpr std::string_view kMacrosSaved = "Messages saved!";
inline constexpr std::string_view kMacrosNotSaved = "Can't save messages!";

struct SaveOutcome {
  bool saved;
  std::string_view message;  // the status message the user sees
};

// Patches the five names into the player file in place. All or nothing up to the file's
// own write errors: every text is turned into bytes before the file is opened, and a
// character the code page cannot hold, or an empty game folder, writes nothing.
SaveOutcome SaveNames(const std::string& gamePath, const std::array<std::string, kNameSlots>& names,
                      FileAccess& files, const CodePage& codePage);

// The same for the ten macros, each kept inside its own 40-byte slot.
SaveOutcome SaveMacros(const std::string& gamePath, const std::array<std::string, kMacroSlots>& macros,
                       FileAccess& files, const CodePage& codePage);

}  // namespace velquin
