#pragma once

#include <filesystem>
#include <string>

#include "discovery/GameDiscovery.h"
#include "forms/Catalogue.h"

namespace velquin {

// The install the player picked in the window, kept in $XDG_CONFIG_HOME/velquin/velquin.conf.
struct RememberedGame {
  std::filesystem::path prefix;  // empty when none is kept
  std::string note;              // why the file was ignored, when it was, in `words`
};

std::filesystem::path SettingsFile(const Environment& environment);  // empty without a home

// The file is looked at before QSettings reads it: a FIFO, a device, a huge or unreadable file
// is ignored with a note, as is one that keeps no prefix.
RememberedGame ReadRememberedGame(const Environment& environment, const Catalogue& words);

// Written whole or not at all (QSettings writes a new file and renames it over the old one);
// a file in the way that is not a regular one is removed first, since QSettings would read it.
bool RememberGame(const Environment& environment, const std::filesystem::path& prefix);

}  // namespace velquin
