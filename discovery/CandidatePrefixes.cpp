#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <set>
#include <unordered_set>

#include "discovery/FileLookups.h"
#include "discovery/GameDiscovery.h"
#include "discovery/LauncherSettings.h"
#include "discovery/LutrisGameConfig.h"
#include "discovery/SteamVdf.h"
#include "platform/PosixHandles.h"

namespace velquin {

namespace {

namespace fs = std::filesystem;

struct Place {
  const char* folder;  // relative to HOME
  const char* origin;
};

// ~/.steam/steam and ~/.steam/root are normally links to ~/.local/share/Steam; all are read
// in case they are not, and the real path merges them when they are. Flatpak's Steam has its
// own HOME below ~/.var/app, and keeps its data in both spellings there; so does Snap's, below
// ~/snap or, with snapd's hidden-snap-folder option, ~/.snap/data.
constexpr Place kSteamRoots[] = {
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

// Collects each prefix once, by its real path, in the order first met, and the files that
// could not be read on the way.
class Search {
 public:
  explicit Search(const Environment& environment) : env(environment) {}

  void Add(const fs::path& prefix, const std::string& origin, const fs::path& config) {
    fs::path real = RealPath(prefix);
    if (seen_.insert(real).second) found_.prefixes.push_back({std::move(real), origin, config});
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
  std::optional<std::string> Read(const fs::path& file) { return ReadConfigFile(file, found_.skipped); }
  std::vector<fs::path> Entries(const fs::path& folder) { return EntriesByName(folder, found_.skipped); }
  void Skip(const fs::path& file, const std::string& why) { found_.skipped.push_back({file, why}); }
  Candidates Take() { return std::move(found_); }

  const Environment& env;

 private:
  std::set<fs::path> seen_;
  Candidates found_;
};

// The Steam install itself, then every library its library lists name, each with the file
// that named it first: a list may name one library many times, and a spelling met before is
// dropped before anything looks at its folder.
std::vector<std::pair<fs::path, fs::path>> SteamLibraries(const fs::path& root, Search& search) {
  std::vector<std::pair<fs::path, fs::path>> libraries{{root, root}};
  std::unordered_set<std::string> named{root.string()};
  std::vector<fs::path> lists{root / "config/libraryfolders.vdf"};
  if (const auto steamapps = EntryIgnoringCase(root, "steamapps"))
    lists.insert(lists.begin(), *steamapps / "libraryfolders.vdf");
  for (const fs::path& list : lists) {
    const std::optional<std::string> text = search.Read(list);
    if (!text) continue;
    const auto paths = SteamLibraryPaths(*text);
    if (!paths) {
      search.Skip(list, "not well-formed KeyValues");
      continue;
    }
    for (const std::string& path : *paths) {
      if (path.starts_with('/') && named.insert(path).second) libraries.emplace_back(path, list);
    }
  }
  return libraries;
}

void AddSteamPrefixes(Search& search) {
  // Two spellings of one library (a link, a trailing "/..") are one library, which is listed
  // once; two libraries may still share one steamapps folder through a link.
  std::set<fs::path> rootsSeen;
  std::set<fs::path> librariesSeen;
  std::set<fs::path> steamappsSeen;
  for (const Place& root : kSteamRoots) {
    const fs::path folder = search.env.home / root.folder;
    if (!IsFolder(folder) || !rootsSeen.insert(RealPath(folder)).second) continue;
    for (const auto& [library, config] : SteamLibraries(folder, search)) {
      if (!librariesSeen.insert(RealPath(library)).second) continue;
      // Steam matches its folder names without regard to case: older libraries say "SteamApps".
      const std::optional<fs::path> steamapps = EntryIgnoringCase(library, "steamapps");
      if (!steamapps || !steamappsSeen.insert(RealPath(*steamapps)).second) continue;
      for (const fs::path& game : search.Entries(*steamapps / "compatdata")) {
        if (IsFolder(game / "pfx")) search.Add(game / "pfx", root.origin, config);
      }
    }
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

void AddLutrisPrefixes(Search& search) {
  // Older Lutris keeps game configs in its config folder, newer in its data folder.
  const fs::path flatpak = search.env.home / kLutrisFlatpak;
  const std::pair<fs::path, const char*> folders[] = {
      {search.env.ConfigHome() / "lutris/games", "Lutris"},
      {search.env.DataHome() / "lutris/games", "Lutris"},
      {flatpak / "config/lutris/games", "Lutris (Flatpak)"},
      {flatpak / "data/lutris/games", "Lutris (Flatpak)"},
  };
  for (const auto& [folder, origin] : folders) {
    for (const fs::path& config : search.Entries(folder)) {
      if (config.extension() != ".yml") continue;
      const std::optional<std::string> text = search.Read(config);
      if (!text) continue;
      const std::optional<LutrisGame> game = ReadLutrisGame(*text, search.env.home);
      if (!game) {
        search.Skip(config, "not YAML");
        continue;
      }
      for (const fs::path& prefix : game->prefixes) {
        if (IsFolder(prefix)) search.Add(prefix, origin, config);
      }
      if (!game->prefixes.empty() || !game->exe) continue;
      if (const std::optional<fs::path> prefix = PrefixAboveExe(*game->exe))
        search.Add(*prefix, origin, config);
    }
  }
}

// A YAML setting of Bottles', read with the file noted as skipped when it is not YAML.
std::string BottlesPath(Search& search, const fs::path& file, const char* key) {
  const std::optional<std::string> text = search.Read(file);
  if (!text) return "";
  const std::optional<std::string> value = BottlesSetting(*text, key);
  if (!value) search.Skip(file, "not YAML");
  return value.value_or("");
}

void AddBottles(Search& search) {
  const std::pair<fs::path, const char*> places[] = {
      {search.env.DataHome() / "bottles", "Bottles"},
      {search.env.home / kBottlesFlatpak, "Bottles (Flatpak)"},
  };
  for (const auto& [place, origin] : places) {
    std::vector<std::pair<fs::path, fs::path>> folders{{place / "bottles", place / "bottles"}};
    // The bottles folder the user chose in Bottles' preferences.
    const fs::path data = place / "data.yml";
    if (const fs::path custom = BottlesPath(search, data, "custom_bottles_path"); custom.is_absolute())
      folders.emplace_back(custom, data);
    for (const auto& [folder, config] : folders) {
      for (const fs::path& bottle : search.Entries(folder)) {
        // A bottle made on another disk leaves only this behind, with its real place in it.
        const fs::path placeholder = bottle / "placeholder.yml";
        if (const fs::path elsewhere = BottlesPath(search, placeholder, "Path"); elsewhere.is_absolute()) {
          if (LooksLikePrefix(elsewhere)) search.Add(elsewhere, origin, placeholder);
        } else if (LooksLikePrefix(bottle)) {
          search.Add(bottle, origin, config);
        }
      }
    }
  }
}

void AddHeroicPrefixes(Search& search) {
  const std::pair<fs::path, const char*> places[] = {
      {search.env.ConfigHome() / "heroic", "Heroic"},
      {search.env.home / kHeroicFlatpak, "Heroic (Flatpak)"},
  };
  for (const auto& [place, origin] : places) {
    std::vector<fs::path> configs{place / "config.json"};
    for (const fs::path& config : search.Entries(place / "GamesConfig")) {
      if (config.extension() == ".json") configs.push_back(config);
    }
    for (const fs::path& config : configs) {
      const std::optional<std::string> text = search.Read(config);
      if (!text) continue;
      const auto prefixes = HeroicPrefixes(*text, search.env.home);
      if (!prefixes) search.Skip(config, "not JSON");
      for (const fs::path& prefix : prefixes.value_or(std::vector<fs::path>{})) {
        if (IsFolder(prefix)) search.Add(prefix, origin, config);
      }
    }
  }
  // Heroic's own place for the prefixes it makes, for games whose config is gone or unread.
  const fs::path prefixes = search.env.home / "Games/Heroic/Prefixes";
  for (const fs::path& folder : {prefixes, prefixes / "default"}) {
    for (const fs::path& entry : search.Entries(folder)) search.AddPrefixOrPfx(entry, "Heroic", folder);
  }
}

// Prefixes that a tool keeps one per folder in a folder of its own.
void AddFolderOfPrefixes(Search& search, const fs::path& folder, const char* origin) {
  for (const fs::path& entry : search.Entries(folder)) search.AddPrefixOrPfx(entry, origin, folder);
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

Candidates CandidatePrefixes(const Environment& environment) {
  Search search(environment);
  if (!environment.winePrefix.empty()) {
    search.Add(environment.winePrefix, "WINEPREFIX", "");
    return search.Take();
  }
  // Without a home folder, every launcher's place would be taken from the current folder.
  if (!environment.home.is_absolute()) return search.Take();
  if (IsFolder(environment.home / ".wine")) search.Add(environment.home / ".wine", "Wine", "");
  AddSteamPrefixes(search);
  AddLutrisPrefixes(search);
  AddBottles(search);
  AddHeroicPrefixes(search);
  // umu-launcher's own place when no WINEPREFIX is given: ~/Games/umu/<GAMEID>.
  AddFolderOfPrefixes(search, environment.home / "Games/umu", "umu");
  // winetricks' named prefixes (WINEPREFIX=$XDG_DATA_HOME/wineprefixes/NAME).
  AddFolderOfPrefixes(search, environment.DataHome() / "wineprefixes", "winetricks");
  AddFolderOfPrefixes(search, environment.home / ".PlayOnLinux/wineprefix", "PlayOnLinux");
  return search.Take();
}

}  // namespace velquin
