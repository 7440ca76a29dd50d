#include <set>

#include "discovery/FileLookups.h"
#include "discovery/GameDiscovery.h"
#include "discovery/LutrisGameConfig.h"
#include "discovery/SteamVdf.h"

namespace velquin {

namespace {

struct Place {
  const char* folder;  // relative to HOME
  const char* origin;
};

// ~/.steam/steam and ~/.steam/root are normally links to ~/.local/share/Steam; all are read
// in case they are not, and the real path merges them when they are.
constexpr Place kSteamRoots[] = {
    {".steam/steam", "Steam"},
    {".steam/root", "Steam"},
    {".local/share/Steam", "Steam"},
    {".var/app/com.valvesoftware.Steam/.local/share/Steam", "Steam (Flatpak)"},
    {"snap/steam/common/.local/share/Steam", "Steam (Snap)"},
};

// Lutris keeps game configs in its config folder in older releases and in its data folder
// in newer ones.
constexpr Place kLutrisGameFolders[] = {
    {".config/lutris/games", "Lutris"},
    {".local/share/lutris/games", "Lutris"},
    {".var/app/net.lutris.Lutris/config/lutris/games", "Lutris (Flatpak)"},
    {".var/app/net.lutris.Lutris/data/lutris/games", "Lutris (Flatpak)"},
};

constexpr Place kBottlesFolders[] = {
    {".local/share/bottles/bottles", "Bottles"},
    {".var/app/com.usebottles.bottles/data/bottles/bottles", "Bottles (Flatpak)"},
};

// Keeps each prefix once, by its real path, in the order first met.
class CandidateList {
 public:
  void Add(const std::filesystem::path& prefix, const char* origin) {
    std::filesystem::path real = RealPath(prefix);
    if (seen_.insert(real).second) list_.push_back({std::move(real), origin});
  }
  std::vector<PrefixCandidate> Take() { return std::move(list_); }

 private:
  std::set<std::filesystem::path> seen_;
  std::vector<PrefixCandidate> list_;
};

// The Steam install itself, then every library its library lists name; each once.
std::vector<std::filesystem::path> SteamLibraries(const std::filesystem::path& root) {
  std::vector<std::filesystem::path> libraries{root};
  for (const char* list : {"steamapps/libraryfolders.vdf", "config/libraryfolders.vdf"}) {
    const std::optional<std::string> text = ReadSmallTextFile(root / list);
    if (!text) continue;
    const auto paths = SteamLibraryPaths(*text);
    if (!paths) continue;
    for (const std::string& path : *paths) {
      if (std::filesystem::path(path).is_absolute()) libraries.emplace_back(path);
    }
  }
  return libraries;
}

void AddSteamPrefixes(const std::filesystem::path& home, CandidateList& candidates) {
  std::set<std::filesystem::path> librariesSeen;
  for (const Place& root : kSteamRoots) {
    if (!IsFolder(home / root.folder)) continue;
    for (const std::filesystem::path& library : SteamLibraries(home / root.folder)) {
      if (!librariesSeen.insert(RealPath(library)).second) continue;
      for (const std::filesystem::path& game : EntriesByName(library / "steamapps" / "compatdata")) {
        if (IsFolder(game / "pfx")) candidates.Add(game / "pfx", root.origin);
      }
    }
  }
}

void AddLutrisPrefixes(const std::filesystem::path& home, CandidateList& candidates) {
  for (const Place& folder : kLutrisGameFolders) {
    for (const std::filesystem::path& config : EntriesByName(home / folder.folder)) {
      if (config.extension() != ".yml") continue;
      const std::optional<std::string> text = ReadSmallTextFile(config);
      if (!text) continue;
      const auto prefixes = LutrisPrefixes(*text, home);
      if (!prefixes) continue;
      for (const std::filesystem::path& prefix : *prefixes) {
        if (IsFolder(prefix)) candidates.Add(prefix, folder.origin);
      }
    }
  }
}

void AddBottles(const std::filesystem::path& home, CandidateList& candidates) {
  for (const Place& folder : kBottlesFolders) {
    for (const std::filesystem::path& bottle : EntriesByName(home / folder.folder)) {
      if (IsRegularFile(bottle / "system.reg")) candidates.Add(bottle, folder.origin);
    }
  }
}

}  // namespace

std::vector<PrefixCandidate> CandidatePrefixes(const std::filesystem::path& home,
                                               const std::string& winePrefixVariable) {
  CandidateList candidates;
  if (!winePrefixVariable.empty()) {
    candidates.Add(winePrefixVariable, "WINEPREFIX");
    return candidates.Take();
  }
  if (IsFolder(home / ".wine")) candidates.Add(home / ".wine", "Wine");
  AddSteamPrefixes(home, candidates);
  AddLutrisPrefixes(home, candidates);
  AddBottles(home, candidates);
  return candidates.Take();
}

}  // namespace velquin
