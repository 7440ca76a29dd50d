#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <set>
#include <unordered_set>
#include <utility>

#include "discovery/BoundedJobs.h"
#include "discovery/FileLookups.h"
#include "discovery/GameDiscovery.h"
#include "discovery/LauncherSettings.h"
#include "discovery/LutrisGameConfig.h"
#include "discovery/SteamVdf.h"
#include "platform/PosixHandles.h"

namespace velquin {

namespace {

namespace fs = std::filesystem;

struct SteamRoot {
  const char* folder;  // relative to HOME
  const char* origin;
};

// ~/.steam/steam and ~/.steam/root are normally links to ~/.local/share/Steam; all are read
// in case they are not, and the real path merges them when they are. Flatpak's Steam has its
// own HOME below ~/.var/app, and keeps its data in both spellings there; so does Snap's, below
// ~/snap or, with snapd's hidden-snap-folder option, ~/.snap/data.
constexpr SteamRoot kSteamRoots[] = {
    {".steam/steam", "Steam"},
    {".steam/root", "Steam"},
    {".local/share/Steam", "Steam"},
    {".var/app/com.valvesoftware.Steam/.local/share/Steam", "Steam (Flatpak)"},
    {".var/app/com.valvesoftware.Steam/data/Steam", "Steam (Flatpak)"},
    {".var/app/com.valvesoftware.Steam/.steam/steam", "Steam (Flatpak)"},
    {"snap/steam/common/.local/share/Steam", "Steam (Snap)"},
    {"snap/steam/common/.steam/steam", "Steam (Snap)"},
    {".snap/data/steam/common/.local/share/Steam", "Steam (Snap)"},
    {".snap/data/steam/common/.steam/steam", "Steam (Snap)"},
};

// Flatpak apps see their own XDG folders below ~/.var/app, whatever the host's are.
constexpr char kLutrisFlatpak[] = ".var/app/net.lutris.Lutris";
constexpr char kBottlesFlatpak[] = ".var/app/com.usebottles.bottles/data/bottles";
constexpr char kHeroicFlatpak[] = ".var/app/com.heroicgameslauncher.hgl/config/heroic";

// What one place of the search holds: the prefixes found there (by their real paths), the
// files that could not be read, and the places further in, looked at in the next round. Each
// place runs on a worker of its own (BoundedJobs.h), so it keeps copies of all it uses.
struct Place;
struct Found {
  std::vector<PrefixCandidate> prefixes;
  std::vector<SkippedFile> skipped;
  std::vector<Place> further;
  std::vector<std::string> sameAs;  // a place met before by another path: all of this is dropped

  void Add(const fs::path& prefix, const std::string& origin, const fs::path& config) {
    prefixes.push_back({RealPath(prefix), origin, config});
  }
  // The folder itself where it is a prefix, else its "pfx", where Proton keeps the prefix of
  // a compat-data folder.
  void AddPrefixOrPfx(const fs::path& folder, const std::string& origin, const fs::path& config) {
    if (LooksLikePrefix(folder)) {
      Add(folder, origin, config);
    } else if (LooksLikePrefix(folder / "pfx")) {
      Add(folder / "pfx", origin, config);
    }
  }
  std::optional<std::string> Read(const fs::path& file) { return ReadConfigFile(file, skipped); }
  std::vector<fs::path> Entries(const fs::path& folder) { return EntriesByName(folder, skipped); }
  void Skip(const fs::path& file, ReadProblem::Kind why) { skipped.push_back({file, {why}}); }
  void Look(fs::path folder, std::function<void(Found&)> look);
};

// A place of the search, named by the folder that stands for it when it does not answer. The
// granularity: each launcher's own folder (a Steam install, a Lutris, Bottles or Heroic config
// folder, ~/.wine, a folder of prefixes), then each place those name (a Steam library, a
// prefix a config names, the walk above a Lutris exe, a bottles folder, each entry of a folder
// of prefixes, each bottle): a share that does not answer holds only what lies on it.
struct Place {
  fs::path folder;
  std::function<void(Found&)> look;
};

void Found::Look(fs::path folder, std::function<void(Found&)> look) {
  further.push_back({std::move(folder), std::move(look)});
}

// A folder named in a config: the prefix where it is a folder.
void LookAtNamedPrefix(Found& found, const fs::path& prefix, const std::string& origin,
                       const fs::path& config) {
  found.Look(prefix, [prefix, origin, config](Found& there) {
    if (IsFolder(prefix)) there.Add(prefix, origin, config);
  });
}

// Each entry of a folder that a tool keeps one prefix per folder in.
void LookAtEachEntry(Found& found, const fs::path& folder, const std::string& origin,
                     const fs::path& config) {
  for (const fs::path& entry : found.Entries(folder)) {
    found.Look(entry, [entry, origin, config](Found& there) { there.AddPrefixOrPfx(entry, origin, config); });
  }
}

// The Steam install itself, then every library its library lists name, each with the file
// that named it first: a list may name one library many times, and a spelling met before is
// dropped before anything looks at its folder.
std::vector<std::pair<fs::path, fs::path>> SteamLibraries(const fs::path& root, Found& found) {
  std::vector<std::pair<fs::path, fs::path>> libraries{{root, root}};
  std::unordered_set<std::string> named{root.string()};
  std::vector<fs::path> lists{root / "config/libraryfolders.vdf"};
  if (const auto steamapps = EntryIgnoringCase(root, "steamapps"))
    lists.insert(lists.begin(), *steamapps / "libraryfolders.vdf");
  for (const fs::path& list : lists) {
    const std::optional<std::string> text = found.Read(list);
    if (!text) continue;
    const auto paths = SteamLibraryPaths(*text);
    if (!paths) {
      found.Skip(list, ReadProblem::Kind::NotKeyValues);
      continue;
    }
    for (const std::string& path : *paths) {
      if (path.starts_with('/') && named.insert(path).second) libraries.emplace_back(path, list);
    }
  }
  return libraries;
}

// One library: the Proton prefixes in its compat data. Two spellings of one library (a link,
// a trailing "/..") are one library, which is listed once; two libraries may still share one
// steamapps folder through a link.
void LookAtSteamLibrary(Found& found, const fs::path& library, const std::string& origin,
                        const fs::path& config) {
  if (!FolderThere(library, found.skipped)) return;
  found.sameAs.push_back("library " + RealPath(library).string());
  // Steam matches its folder names without regard to case: older libraries say "SteamApps".
  const std::optional<fs::path> steamapps = EntryIgnoringCase(library, "steamapps", &found.skipped);
  if (!steamapps) return;
  found.sameAs.push_back("steamapps " + RealPath(*steamapps).string());
  for (const fs::path& game : found.Entries(*steamapps / "compatdata")) {
    if (IsFolder(game / "pfx")) found.Add(game / "pfx", origin, config);
  }
}

void LookAtSteam(std::vector<Place>& places, const Environment& env) {
  for (const SteamRoot& root : kSteamRoots) {
    const fs::path folder = env.home / root.folder;
    const std::string origin = root.origin;
    places.push_back({folder, [folder, origin](Found& found) {
                        if (!FolderThere(folder, found.skipped)) return;
                        found.sameAs.push_back("root " + RealPath(folder).string());
                        for (const auto& [library, config] : SteamLibraries(folder, found)) {
                          found.Look(library, [library, origin, config](Found& there) {
                            LookAtSteamLibrary(there, library, origin, config);
                          });
                        }
                      }});
  }
}

// Where Lutris finds a game's prefix when its config names none: the nearest folder above the
// exe that is a prefix. The walk goes down from the root once, each folder opened in the one
// above it, so it costs one look per folder however deep the exe lies. It ends where the
// folder's path grows too long for the kernel to take with "/system.reg" behind it: no prefix
// there could be opened.
std::optional<fs::path> PrefixAboveExe(const fs::path& exe) {
  const std::string above = exe.parent_path().string();
  Descriptor folder(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
  std::size_t nearest = 0;  // the length of its path in `above`; 0 for none yet
  for (std::size_t at = above.find_first_not_of('/'); folder.valid() && at != std::string::npos;
       at = above.find_first_not_of('/', at)) {
    const std::size_t end = std::min(above.find('/', at), above.size());
    if (end + sizeof("/system.reg") > PATH_MAX) break;
    folder.reset(
        ::openat(folder.get(), above.substr(at, end - at).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat driveC {};
    if (folder.valid() && LooksLikePrefix(folder.get()) &&
        ::fstatat(folder.get(), "drive_c", &driveC, 0) == 0 && S_ISDIR(driveC.st_mode))
      nearest = end;
    at = end;
  }
  if (nearest == 0) return std::nullopt;
  return above.substr(0, nearest);
}

void LookAtLutris(std::vector<Place>& places, const Environment& env) {
  // Older Lutris keeps game configs in its config folder, newer in its data folder.
  const fs::path flatpak = env.home / kLutrisFlatpak;
  const std::pair<fs::path, const char*> folders[] = {
      {env.ConfigHome() / "lutris/games", "Lutris"},
      {env.DataHome() / "lutris/games", "Lutris"},
      {flatpak / "config/lutris/games", "Lutris (Flatpak)"},
      {flatpak / "data/lutris/games", "Lutris (Flatpak)"},
  };
  for (const auto& [folder, name] : folders) {
    places.push_back({folder, [folder, origin = std::string(name), home = env.home](Found& found) {
                        for (const fs::path& config : found.Entries(folder)) {
                          if (config.extension() != ".yml") continue;
                          const std::optional<std::string> text = found.Read(config);
                          if (!text) continue;
                          const std::optional<LutrisGame> game = ReadLutrisGame(*text, home);
                          if (!game) {
                            found.Skip(config, ReadProblem::Kind::NotYaml);
                            continue;
                          }
                          for (const fs::path& prefix : game->prefixes)
                            LookAtNamedPrefix(found, prefix, origin, config);
                          if (!game->prefixes.empty() || !game->exe) continue;
                          found.Look(game->exe->parent_path(),
                                     [exe = *game->exe, origin, config](Found& there) {
                                       if (const auto prefix = PrefixAboveExe(exe))
                                         there.Add(*prefix, origin, config);
                                     });
                        }
                      }});
  }
}

// A YAML setting of Bottles', read with the file noted as skipped when it is not YAML.
std::string BottlesPath(Found& found, const fs::path& file, const char* key) {
  const std::optional<std::string> text = found.Read(file);
  if (!text) return "";
  const std::optional<std::string> value = BottlesSetting(*text, key);
  if (!value) found.Skip(file, ReadProblem::Kind::NotYaml);
  return value.value_or("");
}

// Each bottle of a bottles folder, where it is or, for one made on another disk, where the
// placeholder it left behind says.
void LookAtBottles(Found& found, const fs::path& folder, const std::string& origin, const fs::path& config) {
  for (const fs::path& bottle : found.Entries(folder)) {
    found.Look(bottle, [bottle, origin, config](Found& there) {
      const fs::path placeholder = bottle / "placeholder.yml";
      if (const fs::path elsewhere = BottlesPath(there, placeholder, "Path"); elsewhere.is_absolute()) {
        if (LooksLikePrefix(elsewhere)) there.Add(elsewhere, origin, placeholder);
      } else if (LooksLikePrefix(bottle)) {
        there.Add(bottle, origin, config);
      }
    });
  }
}

void LookAtBottles(std::vector<Place>& places, const Environment& env) {
  const std::pair<fs::path, const char*> bottles[] = {
      {env.DataHome() / "bottles", "Bottles"},
      {env.home / kBottlesFlatpak, "Bottles (Flatpak)"},
  };
  for (const auto& [place, name] : bottles) {
    places.push_back(
        {place, [place, origin = std::string(name)](Found& found) {
           std::vector<std::pair<fs::path, fs::path>> folders{{place / "bottles", place / "bottles"}};
           // The bottles folder the user chose in Bottles' preferences.
           const fs::path data = place / "data.yml";
           if (const fs::path custom = BottlesPath(found, data, "custom_bottles_path"); custom.is_absolute())
             folders.emplace_back(custom, data);
           for (const auto& [folder, config] : folders) {
             found.Look(folder, [folder, origin, config](Found& there) {
               LookAtBottles(there, folder, origin, config);
             });
           }
         }});
  }
}

// Prefixes that a tool keeps one per folder in a folder of its own.
void LookAtFolderOfPrefixes(std::vector<Place>& places, const fs::path& folder, const std::string& origin) {
  places.push_back(
      {folder, [folder, origin](Found& found) { LookAtEachEntry(found, folder, origin, folder); }});
}

void LookAtHeroic(std::vector<Place>& places, const Environment& env) {
  const std::pair<fs::path, const char*> heroic[] = {
      {env.ConfigHome() / "heroic", "Heroic"},
      {env.home / kHeroicFlatpak, "Heroic (Flatpak)"},
  };
  for (const auto& [place, name] : heroic) {
    places.push_back({place, [place, origin = std::string(name), home = env.home](Found& found) {
                        std::vector<fs::path> configs{place / "config.json"};
                        for (const fs::path& config : found.Entries(place / "GamesConfig")) {
                          if (config.extension() == ".json") configs.push_back(config);
                        }
                        for (const fs::path& config : configs) {
                          const std::optional<std::string> text = found.Read(config);
                          if (!text) continue;
                          const auto prefixes = HeroicPrefixes(*text, home);
                          if (!prefixes) found.Skip(config, ReadProblem::Kind::NotJson);
                          for (const fs::path& prefix : prefixes.value_or(std::vector<fs::path>{}))
                            LookAtNamedPrefix(found, prefix, origin, config);
                        }
                      }});
  }
  // Heroic's own place for the prefixes it makes, for games whose config is gone or unread.
  const fs::path prefixes = env.home / "Games/Heroic/Prefixes";
  for (const fs::path& folder : {prefixes, prefixes / "default"})
    LookAtFolderOfPrefixes(places, folder, "Heroic");
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// HOME where it names a folder, else the home folder of the user's entry in the password
// database, as Wine takes it; empty when neither is absolute.
fs::path HomeFolder() {
  constexpr std::size_t kMaxPasswdEntry = std::size_t{1} << 20;
  if (const fs::path home = Variable("HOME"); home.is_absolute()) return home;
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 1024);
  passwd entry{};
  passwd* found = nullptr;
  // The size the system suggests, grown while the entry does not fit, up to a sane bound.
  while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
         buffer.size() < kMaxPasswdEntry)
    buffer.resize(buffer.size() * 2);
  if (!found || !found->pw_dir) return {};
  const fs::path home = found->pw_dir;
  return home.is_absolute() ? home : fs::path();
}

}  // namespace

Environment Environment::FromProcess() {
  return {HomeFolder(), Variable("WINEPREFIX"), Variable("XDG_DATA_HOME"), Variable("XDG_CONFIG_HOME")};
}

std::filesystem::path Environment::DataHome() const {
  const fs::path set = xdgDataHome;
  return set.is_absolute() ? set : home / ".local/share";
}

std::filesystem::path Environment::ConfigHome() const {
  const fs::path set = xdgConfigHome;
  return set.is_absolute() ? set : home / ".config";
}

namespace {

// A place in the tree of places the search met, and what it found.
struct Met {
  Place place;
  std::optional<Found> found;  // nothing when it did not answer in time
  bool dropped = false;        // a place met before by another path
  std::vector<std::size_t> further;
};

// Adds what the place and those further in found, depth first: the order the launchers'
// files name them in, so that each prefix keeps the first origin that leads to it.
void Collect(std::vector<Met>& met, std::size_t at, std::set<fs::path>& prefixesSeen,
             Candidates& candidates) {
  if (met[at].dropped) return;
  if (!met[at].found) {
    candidates.skipped.push_back(NotAnswering(met[at].place.folder));
    return;
  }
  Found& found = *met[at].found;
  for (PrefixCandidate& prefix : found.prefixes)
    if (prefixesSeen.insert(prefix.prefix).second) candidates.prefixes.push_back(std::move(prefix));
  std::move(found.skipped.begin(), found.skipped.end(), std::back_inserter(candidates.skipped));
  for (const std::size_t further : met[at].further) Collect(met, further, prefixesSeen, candidates);
}

// Each round's places at once, each under its bound, then the places further in that they
// name, in the next round: three rounds reach the deepest place, a bottle. A place met before
// by another path (a Steam install or library through a link) is dropped, with all below it,
// before its places further in are looked at.
Candidates LookAtAll(std::vector<Place> places) {
  constexpr int kRounds = 3;
  const SteadyTime deadline = SearchDeadline();
  std::vector<Met> met;
  std::vector<std::size_t> round;
  for (Place& place : places) {
    round.push_back(met.size());
    met.push_back({std::move(place), std::nullopt, false, {}});
  }
  std::set<std::string> placesSeen;
  for (int k = 0; k < kRounds && !round.empty(); ++k) {
    std::vector<std::function<Found()>> jobs;
    for (const std::size_t at : round) {
      jobs.push_back([look = met[at].place.look] {
        Found found;
        look(found);
        return found;
      });
    }
    std::vector<std::optional<Found>> results = RunBounded(std::move(jobs), deadline);
    std::vector<std::size_t> next;
    for (std::size_t i = 0; i < round.size(); ++i) {
      const std::size_t at = round[i];
      met[at].found = std::move(results[i]);
      if (!met[at].found) continue;
      const std::vector<std::string>& sameAs = met[at].found->sameAs;
      met[at].dropped = std::any_of(sameAs.begin(), sameAs.end(), [&placesSeen](const std::string& same) {
        return placesSeen.contains(same);
      });
      if (met[at].dropped) continue;
      placesSeen.insert(sameAs.begin(), sameAs.end());
      for (Place& further : std::exchange(met[at].found->further, {})) {
        met[at].further.push_back(met.size());
        next.push_back(met.size());
        met.push_back({std::move(further), std::nullopt, false, {}});
      }
    }
    round = std::move(next);
  }
  Candidates candidates;
  std::set<fs::path> prefixesSeen;
  for (std::size_t at = 0; at < places.size(); ++at) Collect(met, at, prefixesSeen, candidates);
  return candidates;
}

}  // namespace

Candidates CandidatePrefixes(const Environment& environment) {
  std::vector<Place> places;
  if (!environment.winePrefix.empty()) {
    const fs::path prefix = environment.winePrefix;
    places.push_back({prefix, [prefix](Found& found) { found.Add(prefix, "WINEPREFIX", ""); }});
    return LookAtAll(std::move(places));
  }
  // Without a home folder, every launcher's place would be taken from the current folder.
  if (!environment.home.is_absolute()) return {};
  const fs::path wine = environment.home / ".wine";
  places.push_back({wine, [wine](Found& found) {
                      if (IsFolder(wine)) found.Add(wine, "Wine", "");
                    }});
  LookAtSteam(places, environment);
  LookAtLutris(places, environment);
  LookAtBottles(places, environment);
  LookAtHeroic(places, environment);
  // umu-launcher's own place when no WINEPREFIX is given: ~/Games/umu/<GAMEID>.
  LookAtFolderOfPrefixes(places, environment.home / "Games/umu", "umu");
  // winetricks' named prefixes (WINEPREFIX=$XDG_DATA_HOME/wineprefixes/NAME).
  LookAtFolderOfPrefixes(places, environment.DataHome() / "wineprefixes", "winetricks");
  LookAtFolderOfPrefixes(places, environment.home / ".PlayOnLinux/wineprefix", "PlayOnLinux");
  return LookAtAll(std::move(places));
}

}  // namespace velquin
