#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velquin {

// A Wine prefix that may hold the game, and who made it: "WINEPREFIX", "Wine", "Steam",
// "Steam (Flatpak)", "Steam (Snap)", "Lutris", "Lutris (Flatpak)", "Bottles", "Bottles (Flatpak)".
struct PrefixCandidate {
  std::filesystem::path prefix;  // its real path, links resolved
  std::string origin;
};

// The prefixes to look in, in this order: WINEPREFIX alone when it is set (not empty);
// otherwise ~/.wine, the Proton prefixes (steamapps/compatdata/*/pfx) of every Steam library
// of every Steam install, the prefixes Lutris game configs name, and the bottles of Bottles.
// Each prefix once, under the first origin that leads to it. Only folders that exist count,
// except WINEPREFIX, which the user chose. Reads HOME's files and nothing else of the system.
std::vector<PrefixCandidate> CandidatePrefixes(const std::filesystem::path& home,
                                               const std::string& winePrefixVariable);

// A prefix the game is installed in.
struct GameInPrefix {
  PrefixCandidate candidate;
  std::string gameFolder;                    // the registry's "Path" value, as Windows sees it
  std::filesystem::path playerFile;          // plyr.sav in that folder, inside the prefix
  std::filesystem::file_time_type modified;  // when plyr.sav was last written
};

// The candidates whose registry has the game's entry and whose plyr.sav exists as a regular
// file, the most recently played first (newest plyr.sav); equal times keep the candidates'
// order. A prefix with a missing or broken system.reg, or without plyr.sav, is left out.
std::vector<GameInPrefix> FindGames(const std::vector<PrefixCandidate>& candidates);

}  // namespace velquin
