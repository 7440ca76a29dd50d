#include <gtest/gtest.h>
#include <sys/stat.h>

#include <utility>

#include "discovery/GameDiscovery.h"
#include "discovery/SteamVdf.h"
#include "unit/TempFolder.h"

namespace velquin {
namespace {

namespace fs = std::filesystem;
using Found = std::vector<std::pair<std::string, std::string>>;  // prefix under HOME, origin

const char kGameKey[] = R"(WINE REGISTRY Version 2

[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zovur.exe] 1733400000
"Path"="C:\\Games\\DF"
)";

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
  // A prefix with the game's registry entry, and plyr.sav written `age` seconds before now
  // when `age` is not negative.
  void Prefix(const fs::path& prefix, int age, const std::string& systemReg = kGameKey) {
    Put(prefix / "system.reg", systemReg);
    fs::create_directories(folder_ / prefix / "drive_c/Games/DF");
    fs::create_directories(folder_ / prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", folder_ / prefix / "dosdevices/c:");
    if (age < 0) return;
    Put(prefix / "drive_c/Games/DF/plyr.sav", "save");
    fs::last_write_time(folder_ / prefix / "drive_c/Games/DF/plyr.sav",
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
};

TEST_F(FakeHomeTest, FindsEveryLaunchersPrefixesOnceAndTheNewestPlayerFileFirst) {
  const std::string steam = (folder_ / ".local/share/Steam").string();
  Put(".local/share/Steam/steamapps/libraryfolders.vdf",
      "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + steam +
          "\"\n\t\t\"apps\" { \"100\" \"9\" }\n\t}\n" + "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
          (folder_ / "library2").string() + "\"\n\t}\n}\n");
  Put(".local/share/Steam/config/libraryfolders.vdf",
      "\"LibraryFolders\"\n{\n\t\"ContentStatsID\"\t\"-1\"\n\t\"1\"\t\"" + (folder_ / "library3").string() +
          "\"\n}\n");
  Prefix(".local/share/Steam/steamapps/compatdata/100/pfx", 40);
  Prefix(".local/share/Steam/steamapps/compatdata/200/pfx", -1);  // no plyr.sav
  Prefix(".local/share/Steam/steamapps/compatdata/300/pfx", 10,
         "WINE REGISTRY Version 2\n[Software\\\\Micro");
  // A FIFO for system.reg would block whoever opens it.
  fs::create_directories(folder_ / ".local/share/Steam/steamapps/compatdata/310/pfx");
  ASSERT_EQ(::mkfifo((folder_ / ".local/share/Steam/steamapps/compatdata/310/pfx/system.reg").c_str(), 0600),
            0);
  fs::create_directories(folder_ / ".steam");
  fs::create_directory_symlink(steam, folder_ / ".steam/steam");
  fs::create_directory_symlink(folder_ / "uninstalled", folder_ / ".steam/root");
  Prefix("library2/steamapps/compatdata/400/pfx", 10);
  Prefix("library3/steamapps/compatdata/500/pfx", 50);
  // Flatpak Steam's list is cut short: its own prefixes still count, the library it names not.
  const fs::path flatpak = ".var/app/com.valvesoftware.Steam/.local/share/Steam";
  Put(flatpak / "steamapps/libraryfolders.vdf",
      "\"libraryfolders\" { \"1\" { \"path\" \"" + (folder_ / "library4").string() + "\"");
  Prefix(flatpak / "steamapps/compatdata/600/pfx", 30);
  Prefix("library4/steamapps/compatdata/700/pfx", 0);
  Prefix(".wine", 60);
  // Most configs name no wine: prefix; one more already found is not listed twice.
  Put(".config/lutris/games/df-1.yml", "game:\n  prefix: ~/Games/df\nwine:\n  version: lutris-7\n");
  Put(".config/lutris/games/df-2.yml",
      "game: {prefix: '" + (folder_ / ".wine").string() + "'}\nwine:\n  prefix: [not, a, path]\n");
  Put(".local/share/lutris/games/broken.yml", "game:\n  prefix: [unclosed\n");
  ASSERT_EQ(::mkfifo((folder_ / ".local/share/lutris/games/fifo.yml").c_str(), 0600), 0);
  fs::create_symlink(folder_ / "gone.yml", folder_ / ".local/share/lutris/games/dangling.yml");
  Prefix("Games/df", 20);
  Prefix(".local/share/bottles/bottles/DF", 70);
  fs::create_directories(folder_ / ".local/share/bottles/bottles/NoRegistry");

  const std::vector<PrefixCandidate> candidates = CandidatePrefixes(folder_, "");
  EXPECT_EQ(Listed(candidates),
            (Found{{".wine", "Wine"},
                   {".local/share/Steam/steamapps/compatdata/100/pfx", "Steam"},
                   {".local/share/Steam/steamapps/compatdata/200/pfx", "Steam"},
                   {".local/share/Steam/steamapps/compatdata/300/pfx", "Steam"},
                   {".local/share/Steam/steamapps/compatdata/310/pfx", "Steam"},
                   {"library2/steamapps/compatdata/400/pfx", "Steam"},
                   {"library3/steamapps/compatdata/500/pfx", "Steam"},
                   {flatpak.string() + "/steamapps/compatdata/600/pfx", "Steam (Flatpak)"},
                   {"Games/df", "Lutris"},
                   {".local/share/bottles/bottles/DF", "Bottles"}}));
  EXPECT_EQ(Listed(FindGames(candidates)),
            (Found{{"library2/steamapps/compatdata/400/pfx", "Steam"},
                   {"Games/df", "Lutris"},
                   {flatpak.string() + "/steamapps/compatdata/600/pfx", "Steam (Flatpak)"},
                   {".local/share/Steam/steamapps/compatdata/100/pfx", "Steam"},
                   {"library3/steamapps/compatdata/500/pfx", "Steam"},
                   {".wine", "Wine"},
                   {".local/share/bottles/bottles/DF", "Bottles"}}));

  // WINEPREFIX names the one prefix to use, whatever else HOME holds.
  const std::vector<PrefixCandidate> chosen = CandidatePrefixes(folder_, (folder_ / "Games/df").string());
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0].origin, "WINEPREFIX");
  const std::vector<GameInPrefix> games = FindGames(chosen);
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].gameFolder, "C:\\Games\\DF");
  EXPECT_EQ(fs::canonical(games[0].playerFile), folder_ / "Games/df/drive_c/Games/DF/plyr.sav");
  EXPECT_TRUE(FindGames(CandidatePrefixes(folder_, (folder_ / "nowhere").string())).empty());
}

TEST(SteamVdfTest, TakesOnlyLibraryPathsAndRefusesABrokenFile) {
  EXPECT_EQ(SteamLibraryPaths("// made by hand\n\"LIBRARYFOLDERS\" { \"0\" { \"Path\" \"/a \\\"b\\\"\\\\c\" "
                              "\"apps\" { \"7\" \"8\" \"path\" \"/no\" } \"label\" \"/x\" } 1 /bare "
                              "\"other\" { \"2\" \"/no\" \"path\" \"/no\" } }"
                              "\"other\" { \"3\" \"/no\" }"),
            (std::vector<std::string>{"/a \"b\"\\c", "/bare"}));
  EXPECT_EQ(SteamLibraryPaths(""), std::vector<std::string>{});
  for (const char* broken : {"\"libraryfolders\" { \"0\" \"/a\"", "\"libraryfolders\" { \"0\" \"/a", "}",
                             "\"libraryfolders\" { \"0\" }", "\"key\""}) {
    EXPECT_EQ(SteamLibraryPaths(broken), std::nullopt) << broken;
  }
}

}  // namespace
}  // namespace velquin
