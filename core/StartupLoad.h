#pragma once

#include <array>
#include <string>

#include "core/PlayerFileLayout.h"
#include "platform/CodePage.h"
#include "platform/FileAccess.h"

namespace velquin {

struct NamesAndMacros {
  std::array<std::string, kNameSlots> names;
  std::array<std::string, kMacroSlots> macros;
};

// Reads the five names and the ten macros of the player file in the game folder, in two
// passes (names, then macros). Whatever cannot be read is the empty string; an empty game
// folder reads nothing at all.
NamesAndMacros LoadNamesAndMacros(const std::string& gamePath, FileAccess& files, const CodePage& codePage);

}  // namespace velquin
