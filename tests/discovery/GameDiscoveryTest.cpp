#include <gtest/gtest.h>
#include <sys/stat.h>

#include <utility>

#include "discovery/GameDiscovery.h"
#include "unit/TempFolder.h"

namespace velquin {
namespace {

namespace fs = std::filesystem;
using Found = std::vector<std::pair<std::string, std::string>>;  // prefix under HOME, origin

// The game's entry with a folder in Wine's escaped form, and the prefix's code page.
std::string SystemReg(const std::string& folder = "C:\\\\Games\\\\DF", const std::string& acp = "1252") {
  return "WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App "
         "Paths\\\\zovur.exe] "
         "1\n\"Path\"=\"" +
         folder +
         "\"\n\n[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\Codepage] 1\n"
         "\"ACP\"=\"" +
         acp + "\"\n";
}

class FakeHomeTest : public testing::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    folder_ = fs::canonical(folder_);
  }
  void Put(const fs::path& file, const std::string& text) {
    fs::create_directories((folder_ / file).parent_path());
    Write(file, text);
  }
  void Fifo(const fs::path& file) {
    fs::create_directories((folder_ / file).parent_path());
    ASSERT_EQ(::mkfifo((folder_ / file).c_str(), 0600), 0);
  }
  // A prefix with the game's registry entry, and plyr.sav written `age` seconds before now
  // when `age` is not negative, in `game` (UTF-8, below drive_c).
  void Prefix(const fs::path& prefix, int age, const std::string& systemReg = SystemReg(),
              const fs::path& game = "Games/DF") {
    Put(prefix / "system.reg", systemReg);
    fs::create_directories(folder_ / prefix / "drive_c" / game);
    fs::create_directories(folder_ / prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", folder_ / prefix / "dosdevices/c:");
    if (age < 0) return;
    Put(prefix / "drive_c" / game / "plyr.sav", "save");
    fs::last_write_time(folder_ / prefix / "drive_c" / game / "plyr.sav",
                        fs::file_time_type::clock::now() - std::chrono::seconds(age));
  }
  Found Listed(const std::vector<PrefixCandidate>& candidates) const {
    Found found;
    for (const PrefixCandidate& c : candidates) {
      found.emplace_back(c.prefix.lexically_relative(folder_).string(), c.origin);
    }
    return found;
  }
  Found Listed(const std::vector<GameInPrefix>& games) const {
    std::vector<PrefixCandidate> candidates;
    for (const GameInPrefix& game : games) candidates.push_back(game.candidate);
    return Listed(candidates);
  }
  Found Listed(const std::vector<SkippedFile>& skipped) const {
    Found found;
    for (const SkippedFile& s : skipped)
      found.emplace_back(s.file.lexically_relative(folder_).string(), s.why);
    return found;
  }
};

TEST_F(FakeHomeTest, FindsEveryLaunchersPrefixesOnceAndTheNewestPlayerFileFirst) {
  const std::string steam = (folder_ / ".local/share/Steam").string();
  Put(".local/share/Steam/steamapps/libraryfolders.vdf",
      "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + steam + "\"\n\t\t\"apps\" { \"100\" \"" +
          (folder_ / "library5").string() + "\" }\n\t}\n" + "\t\"1\"\n\t{\n\t\t\"Path\"\t\t\"" +
          (folder_ / "library2").string() + "\"\n\t}\n\t\"2\" { \"path\" \"" +
          (folder_ / "library2/../library2").string() + "\" }\n\t\"3\" { \"PATH\" \"" +
          (folder_ / "library6").string() + "\" }\n}\n");
  Put(".local/share/Steam/config/libraryfolders.vdf",
      "\"LibraryFolders\"\n{\n\t// by hand\n\t\"ContentStatsID\"\t\"-1\"\n\t1\t\"" + folder_.string() +
          "/lib\\\"3" + "\"\n}\n");
  Prefix(".local/share/Steam/steamapps/compatdata/100/pfx", 40);
  Prefix(".local/share/Steam/steamapps/compatdata/200/pfx", -1);  // no plyr.sav
  Prefix(".local/share/Steam/steamapps/compatdata/300/pfx", 10,
         "WINE REGISTRY Version 2\n[Software\\\\Micro");
  Fifo(".local/share/Steam/steamapps/compatdata/310/pfx/system.reg");
  fs::create_directories(folder_ / ".steam");
  fs::create_directory_symlink(steam, folder_ / ".steam/steam");
  fs::create_directory_symlink(folder_ / "uninstalled", folder_ / ".steam/root");
  Prefix("library2/steamapps/compatdata/400/pfx", 10);
  Prefix("library6/steamapps/compatdata/410/pfx", -1);
  Prefix("lib\"3/SteamApps/compatdata/500/pfx", 50);  // an old library's spelling
  // Flatpak Steam's list is cut short: its own prefixes still count, the library it names not.
  const fs::path flatpak = ".var/app/com.valvesoftware.Steam/data/Steam";
  Put(flatpak / "steamapps/libraryfolders.vdf",
      "\"libraryfolders\" { \"1\" { \"path\" \"" + (folder_ / "library4").string() + "\"");
  Prefix(flatpak / "steamapps/compatdata/600/pfx", 30);
  Prefix("library4/steamapps/compatdata/700/pfx", 0);
  Prefix("library5/steamapps/compatdata/800/pfx", 0);
  Fifo("snap/steam/common/.local/share/Steam/steamapps/libraryfolders.vdf");
  Prefix(".wine", 60);
  // Lutris: "prefix:" with "~", under "wine:", none at all (the prefix above the exe); a
  // prefix already found is not listed twice; the config folder moved by XDG_CONFIG_HOME.
  Put("xdg-config/lutris/games/df-1.yml", "game:\n  prefix: ~/Games/df\nwine:\n  version: lutris-7\n");
  Put(".local/share/lutris/games/df-2.yml",
      "game: {prefix: '" + (folder_ / ".wine").string() + "'}\nwine:\n  prefix: [not, a, path]\n");
  Put(".local/share/lutris/games/df-3.yml", "game:\n  exe: x.exe\nwine:\n  prefix: ~/Games/under-wine\n");
  Prefix("Games/under-wine", 80);
  Put(".var/app/net.lutris.Lutris/data/lutris/games/df-4.yml",
      "game:\n  exe: ~/Games/walk/drive_c/Games/DF/zovur.exe\n");
  Prefix("Games/walk", 90);
  Put(".local/share/lutris/games/broken.yml", "game:\n  prefix: [unclosed\n");
  Fifo(".local/share/lutris/games/fifo.yml");
  fs::create_symlink(folder_ / "gone.yml", folder_ / ".local/share/lutris/games/dangling.yml");
  Prefix("Games/df", 20);
  // Bottles: its default folder, a folder chosen in its data.yml, a bottle on another disk.
  Prefix(".local/share/bottles/bottles/DF", 70);
  fs::create_directories(folder_ / ".local/share/bottles/bottles/NoRegistry");
  Put(".local/share/bottles/data.yml", "custom_bottles_path: " + (folder_ / "disk/bottles").string() + "\n");
  Prefix("disk/bottles/Chosen", 100);
  Put(".local/share/bottles/bottles/Away/placeholder.yml",
      "Path: " + (folder_ / "disk2/Away").string() + "\n");
  Prefix("disk2/Away", 110);
  Put(".var/app/com.usebottles.bottles/data/bottles/data.yml", "a: " + std::string(2 << 20, 'x') + "\n");
  // Heroic: a Wine and a Proton game config, native and Flatpak, and its own prefixes folder.
  Put("xdg-config/heroic/GamesConfig/Df.json",
      "{\"Df\": {\"winePrefix\": \"~/Games/Heroic/Prefixes/default/DF\", "
      "\"wineVersion\": {\"type\": \"wine\"}}, \"version\": \"v0\"}");
  Prefix("Games/Heroic/Prefixes/default/DF", 120);
  Put(".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/P.json",
      "{\"P\": {\"winePrefix\": \"" + (folder_ / "proton").string() +
          "\", \"wineVersion\": {\"type\": \"proton\"}}}");
  Prefix("proton/pfx", 130);
  Prefix("Games/Heroic/Prefixes/default/Other/pfx", 140);
  // umu-launcher's, winetricks' (XDG_DATA_HOME not set) and PlayOnLinux's own folders, with a
  // game folder in letters of another code page each.
  Prefix("Games/umu/umu-0/pfx", 150, SystemReg("C:\\\\\\x0418\\x0433\\x0440\\x044b\\\\DF", "1251"),
         "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B/DF");  // C:\Игры\DF
  Prefix(".local/share/wineprefixes/greek", 160,
         SystemReg("C:\\\\\\x03a0\\x03b1\\x03b9\\x03c7\\x03bd\\x03af\\x03b4\\x03b9\\x03b1", "1253"),
         "\xCE\xA0\xCE\xB1\xCE\xB9\xCF\x87\xCE\xBD\xCE\xAF\xCE\xB4\xCE\xB9\xCE\xB1");  // Παιχνίδια
  Prefix(".PlayOnLinux/wineprefix/cz", 170, SystemReg("C:\\\\Hry\\\\\\x017d\\x0161", "1250"),
         "Hry/\xC5\xBD\xC5\xA1");
  Prefix(".PlayOnLinux/wineprefix/thai", 180, SystemReg("C:\\\\\\x0e40\\x0e01\\x0e21", "874"),
         "\xE0\xB9\x80\xE0\xB8\x81\xE0\xB8\xA1");  // เกม

  const Environment home{folder_, "", "", (folder_ / "xdg-config").string()};
  Candidates candidates = CandidatePrefixes(home);
  EXPECT_EQ(Listed(candidates.prefixes),
            (Found{{".wine", "Wine"},
                   {".local/share/Steam/steamapps/compatdata/100/pfx", "Steam"},
                   {".local/share/Steam/steamapps/compatdata/200/pfx", "Steam"},
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
                   {".local/share/wineprefixes/greek", "winetricks"},
                   {".PlayOnLinux/wineprefix/cz", "PlayOnLinux"},
                   {".PlayOnLinux/wineprefix/thai", "PlayOnLinux"}}));
  EXPECT_EQ(candidates.prefixes[9].config, folder_ / "xdg-config/lutris/games/df-1.yml");
  const std::vector<GameInPrefix> games = FindGames(candidates.prefixes, candidates.skipped);
  EXPECT_EQ(Listed(games), (Found{{"library2/steamapps/compatdata/400/pfx", "Steam"},
                                  {"Games/df", "Lutris"},
                                  {flatpak.string() + "/steamapps/compatdata/600/pfx", "Steam (Flatpak)"},
                                  {".local/share/Steam/steamapps/compatdata/100/pfx", "Steam"},
                                  {"lib\"3/SteamApps/compatdata/500/pfx", "Steam"},
                                  {".wine", "Wine"},
                                  {".local/share/bottles/bottles/DF", "Bottles"},
                                  {"Games/under-wine", "Lutris"},
                                  {"Games/walk", "Lutris (Flatpak)"},
                                  {"disk/bottles/Chosen", "Bottles"},
                                  {"disk2/Away", "Bottles"},
                                  {"Games/Heroic/Prefixes/default/DF", "Heroic"},
                                  {"proton/pfx", "Heroic (Flatpak)"},
                                  {"Games/Heroic/Prefixes/default/Other/pfx", "Heroic"},
                                  {"Games/umu/umu-0/pfx", "umu"},
                                  {".local/share/wineprefixes/greek", "winetricks"},
                                  {".PlayOnLinux/wineprefix/cz", "PlayOnLinux"},
                                  {".PlayOnLinux/wineprefix/thai", "PlayOnLinux"}}));
  EXPECT_EQ(games[14].gameFolder, "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\DF");
  EXPECT_EQ(
      Listed(candidates.skipped),
      (Found{{flatpak.string() + "/steamapps/libraryfolders.vdf", "not well-formed KeyValues"},
             {"snap/steam/common/.local/share/Steam/steamapps/libraryfolders.vdf", "a FIFO, not a file"},
             {".local/share/lutris/games/broken.yml", "not YAML"},
             {".local/share/lutris/games/fifo.yml", "a FIFO, not a file"},
             {".var/app/com.usebottles.bottles/data/bottles/data.yml",
              "too big (2097156 bytes, at most 1048576)"},
             {".local/share/Steam/steamapps/compatdata/310/pfx/system.reg", "a FIFO, not a file"}}));

  // WINEPREFIX names the one prefix to use, whatever else HOME holds.
  const Candidates chosen = CandidatePrefixes({folder_, (folder_ / "Games/df").string(), "", ""});
  ASSERT_EQ(chosen.prefixes.size(), 1u);
  EXPECT_EQ(chosen.prefixes[0].origin, "WINEPREFIX");
  std::vector<SkippedFile> none;
  const std::vector<GameInPrefix> one = FindGames(chosen.prefixes, none);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].gameFolder, "C:\\Games\\DF");
  EXPECT_EQ(fs::canonical(one[0].playerFile), folder_ / "Games/df/drive_c/Games/DF/plyr.sav");
  EXPECT_TRUE(
      FindGames(CandidatePrefixes({folder_, (folder_ / "nowhere").string(), "", ""}).prefixes, none).empty());
}

}  // namespace
}  // namespace velquin
