#include <gtest/gtest.h>
#include <sys/stat.h>

#include <utility>

#include "discovery/GameDiscovery.h"
#include "unit/TempFolder.h"

namespace velquin {
namespace {

namespace fs = std::filesystem;
using Found = std::vector<std::pair<std::string, std::string>>;  // prefix under HOME, origin

// The game's entry, its folder in Wine's escaped form.
const std::string kSystemReg =
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] "
    "1\n\"Path\"=\"C:\\\\Games\\\\DF\"\n";

class FakeHomeTest : public testing::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    folder_ = fs::canonical(folder_);
  }
  void Fifo(const fs::path& file) {
    fs::create_directories((folder_ / file).parent_path());
    ASSERT_EQ(::mkfifo((folder_ / file).c_str(), 0600), 0);
  }
  // A prefix with the game's registry entry, and its plyr.sav written `age` seconds before now
  // when `age` is not negative.
  void Prefix(const fs::path& prefix, int age, const std::string& systemReg = kSystemReg) {
    Write(prefix / "system.reg", systemReg);
    fs::create_directories(MakeDriveC(folder_ / prefix) / "Games/DF");
    if (age < 0) return;
    Write(prefix / "drive_c/Games/DF/plyr.sav", "save");
    fs::last_write_time(folder_ / prefix / "drive_c/Games/DF/plyr.sav",
                        fs::file_time_type::clock::now() - std::chrono::seconds(age));
  }
  // Each item's file below HOME, with its origin or why it was skipped.
  template <class Item>
  Found Listed(const std::vector<Item>& items) const {
    Found found;
    for (const Item& i : items) {
      if constexpr (std::is_same_v<Item, SkippedFile>) found.emplace_back(Under(i.file), i.why);
      if constexpr (std::is_same_v<Item, PrefixCandidate>) found.emplace_back(Under(i.prefix), i.origin);
    }
    return found;
  }
  std::string Under(const fs::path& file) const { return file.lexically_relative(folder_).string(); }
};

TEST_F(FakeHomeTest, FindsEveryLaunchersPrefixesOnceAndTheNewestPlayerFileFirst) {
  const std::string steam = (folder_ / ".local/share/Steam").string();
  Write(".local/share/Steam/steamapps/libraryfolders.vdf",
        "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + steam + "\"\n\t\t\"apps\" { \"100\" \"" +
            (folder_ / "library5").string() + "\" }\n\t}\n" + "\t\"1\"\n\t{\n\t\t\"Path\"\t\t\"" +
            (folder_ / "library2").string() + "\"\n\t}\n\t\"2\" { \"path\" \"" +
            (folder_ / "library2/../library2").string() + "\" }\n\t\"3\" { \"PATH\" \"" +
            (folder_ / "library6").string() + "\" }\n}\n");
  Write(".local/share/Steam/config/libraryfolders.vdf",
        "\"LibraryFolders\"\n{\n\t// by hand\n\t\"ContentStatsID\"\t\"-1\"\n\t1\t\"" + folder_.string() +
            "/lib\\\"3" + "\"\n}\n");
  Prefix(".local/share/Steam/steamapps/compatdata/100/pfx", 40);
  Prefix(".local/share/Steam/steamapps/compatdata/300/pfx", 10,
         "WINE REGISTRY Version 2\n[Software\\\\Micro");
  Fifo(".local/share/Steam/steamapps/compatdata/310/pfx/system.reg");
  fs::create_directories(folder_ / ".steam");
  fs::create_directory_symlink(steam, folder_ / ".steam/steam");
  fs::create_directory_symlink(folder_ / "uninstalled", folder_ / ".steam/root");
  Prefix("library2/steamapps/compatdata/400/pfx", 10);
  Prefix("library6/steamapps/compatdata/410/pfx", -1);  // no plyr.sav
  Prefix("lib\"3/SteamApps/compatdata/500/pfx", 50);    // an old library's spelling
  // Flatpak Steam's list is cut short: its own prefixes still count, the library it names not.
  const fs::path flatpak = ".var/app/com.valvesoftware.Steam/data/Steam";
  Write(flatpak / "steamapps/libraryfolders.vdf",
        "\"libraryfolders\" { \"1\" { \"path\" \"" + (folder_ / "library4").string() + "\"");
  Prefix(flatpak / "steamapps/compatdata/600/pfx", 30);
  Prefix("library4/steamapps/compatdata/700/pfx", 0);
  Prefix("library5/steamapps/compatdata/800/pfx", 0);
  Fifo("snap/steam/common/.local/share/Steam/steamapps/libraryfolders.vdf");
  Prefix(".wine", 60);
  // Lutris: "prefix:" with "~", under "wine:", none at all (the prefix above the exe, which
  // lies 20,000 folders deep: a hang guard); a prefix already found is not listed twice; the
  // config folder moved by XDG_CONFIG_HOME.
  Write("xdg-config/lutris/games/df-1.yml", "game:\n  prefix: ~/Games/df\nwine:\n  version: lutris-7\n");
  Write(".local/share/lutris/games/df-2.yml",
        "game: {prefix: '" + (folder_ / ".wine").string() + "'}\nwine:\n  prefix: [not, a, path]\n");
  Write(".local/share/lutris/games/df-3.yml", "game:\n  exe: x.exe\nwine:\n  prefix: ~/Games/under-wine\n");
  Prefix("Games/under-wine", 80);
  std::string deep = "~/Games/walk/drive_c/Games/DF/";
  for (int k = 0; k < 20000; ++k) deep += "a/";
  Write(".var/app/net.lutris.Lutris/data/lutris/games/df-4.yml", "game:\n  exe: " + deep + "zovur.exe\n");
  Prefix("Games/walk", 90);
  Write(".local/share/lutris/games/broken.yml", "game:\n  prefix: [unclosed\n");
  fs::create_symlink(folder_ / "gone.yml", folder_ / ".local/share/lutris/games/dangling.yml");
  Prefix("Games/df", 20);
  // Bottles: its default folder, a folder chosen in its data.yml, a bottle on another disk.
  Prefix(".local/share/bottles/bottles/DF", 70);
  fs::create_directories(folder_ / ".local/share/bottles/bottles/NoRegistry");
  Write(".local/share/bottles/data.yml",
        "custom_bottles_path: " + (folder_ / "disk/bottles").string() + "\n");
  Prefix("disk/bottles/Chosen", 100);
  Write(".local/share/bottles/bottles/Away/placeholder.yml",
        "Path: " + (folder_ / "disk2/Away").string() + "\n");
  Prefix("disk2/Away", 110);
  Write(".var/app/com.usebottles.bottles/data/bottles/data.yml", "a: " + std::string(2 << 20, 'x') + "\n");
  // Heroic: a Wine and a Proton game config, native and Flatpak, and its own prefixes folder.
  Write("xdg-config/heroic/GamesConfig/Df.json",
        "{\"Df\": {\"winePrefix\": \"~/Games/Heroic/Prefixes/default/DF\", "
        "\"wineVersion\": {\"type\": \"wine\"}}, \"version\": \"v0\"}");
  Prefix("Games/Heroic/Prefixes/default/DF", 120);
  Write(".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/P.json",
        "{\"P\": {\"winePrefix\": \"" + (folder_ / "proton").string() +
            "\", \"wineVersion\": {\"type\": \"proton\"}}}");
  Prefix("proton/pfx", 130);
  Prefix("Games/Heroic/Prefixes/default/Other/pfx", 140);
  // umu-launcher's, winetricks' (XDG_DATA_HOME not set) and PlayOnLinux's own folders.
  Prefix("Games/umu/umu-0/pfx", 150);
  Prefix(".local/share/wineprefixes/df", 160);
  Prefix(".PlayOnLinux/wineprefix/cz", 170);

  const Environment home{folder_, "", "", (folder_ / "xdg-config").string()};
  Candidates candidates = CandidatePrefixes(home);
  EXPECT_EQ(Listed(candidates.prefixes),
            (Found{{".wine", "Wine"},
                   {".local/share/Steam/steamapps/compatdata/100/pfx", "Steam"},
                   {".local/share/Steam/steamapps/compatdata/300/pfx", "Steam"},
                   {".local/share/Steam/steamapps/compatdata/310/pfx", "Steam"},
                   {"library2/steamapps/compatdata/400/pfx", "Steam"},
                   {"library6/steamapps/compatdata/410/pfx", "Steam"},
                   {"lib\"3/SteamApps/compatdata/500/pfx", "Steam"},
                   {flatpak.string() + "/steamapps/compatdata/600/pfx", "Steam (Flatpak)"},
                   {"Games/df", "Lutris"},
                   {"Games/under-wine", "Lutris"},
                   {"Games/walk", "Lutris (Flatpak)"},
                   {"disk2/Away", "Bottles"},
                   {".local/share/bottles/bottles/DF", "Bottles"},
                   {"disk/bottles/Chosen", "Bottles"},
                   {"Games/Heroic/Prefixes/default/DF", "Heroic"},
                   {"proton/pfx", "Heroic (Flatpak)"},
                   {"Games/Heroic/Prefixes/default/Other/pfx", "Heroic"},
                   {"Games/umu/umu-0/pfx", "umu"},
                   {".local/share/wineprefixes/df", "winetricks"},
                   {".PlayOnLinux/wineprefix/cz", "PlayOnLinux"}}));
  EXPECT_EQ(candidates.prefixes[8].config, folder_ / "xdg-config/lutris/games/df-1.yml");
  const std::vector<GameInPrefix> games = FindGames(candidates.prefixes, candidates.skipped);
  // Newest player file first; each game keeps its candidate's origin, listed above.
  std::vector<std::string> newestFirst;
  for (const GameInPrefix& game : games) newestFirst.push_back(Under(game.candidate.prefix));
  EXPECT_EQ(newestFirst,
            (std::vector<std::string>{
                "library2/steamapps/compatdata/400/pfx", "Games/df",
                flatpak.string() + "/steamapps/compatdata/600/pfx",
                ".local/share/Steam/steamapps/compatdata/100/pfx", "lib\"3/SteamApps/compatdata/500/pfx",
                ".wine", ".local/share/bottles/bottles/DF", "Games/under-wine", "Games/walk",
                "disk/bottles/Chosen", "disk2/Away", "Games/Heroic/Prefixes/default/DF", "proton/pfx",
                "Games/Heroic/Prefixes/default/Other/pfx", "Games/umu/umu-0/pfx",
                ".local/share/wineprefixes/df", ".PlayOnLinux/wineprefix/cz"}));
  EXPECT_EQ(
      Listed(candidates.skipped),
      (Found{{flatpak.string() + "/steamapps/libraryfolders.vdf", "not well-formed KeyValues"},
             {"snap/steam/common/.local/share/Steam/steamapps/libraryfolders.vdf", "a FIFO, not a file"},
             {".local/share/lutris/games/broken.yml", "not YAML"},
             {".var/app/com.usebottles.bottles/data/bottles/data.yml",
              "too big (2097156 bytes, at most 1048576)"},
             {".local/share/Steam/steamapps/compatdata/310/pfx/system.reg", "a FIFO, not a file"}}));

  // WINEPREFIX names the one prefix to use, whatever else HOME holds.
  EXPECT_EQ(Listed(CandidatePrefixes({folder_, (folder_ / "Games/df").string(), "", ""}).prefixes),
            (Found{{"Games/df", "WINEPREFIX"}}));
  EXPECT_TRUE(FindGames(CandidatePrefixes({folder_, (folder_ / "nowhere").string(), "", ""}).prefixes,
                        candidates.skipped)
                  .empty());
}

}  // namespace
}  // namespace velquin
