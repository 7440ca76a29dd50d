#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/linux/GameChoice.h"
#include "discovery/BoundedJobs.h"
#include "discovery/GameDiscovery.h"
#include "platform/PosixHandles.h"
#include "unit/TempFolder.h"

namespace velquin {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// The game's entry, its folder in Wine's escaped form.
const std::string kSystemReg =
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] "
    "1\n\"Path\"=\"C:\\\\Games\\\\DF\"\n";
const std::string kSteam = ".local/share/Steam/steamapps/compatdata/";
const std::string kSteamFlatpak = ".var/app/com.valvesoftware.Steam/";
const std::string kSnap = ".snap/data/steam/common/.local/share/Steam/steamapps/compatdata/900/pfx";
const std::string kLutrisFlatpak = ".var/app/net.lutris.Lutris/";
const std::string kBottlesFlatpak = ".var/app/com.usebottles.bottles/data/bottles/";
// An exe 20,000 folders below its prefix: the walk up to the prefix must not hang.
const std::string kDeepExe = [] {
  std::string exe = "~/Games/walk/drive_c/Games/DF/";
  for (int k = 0; k < 20000; ++k) exe += "a/";
  return exe + "x.exe";
}();

// A launcher's case: a fake HOME, each thing in it as "PATH = WHAT" (PATH below HOME): "prefix"
// (with the game's entry in its registry), "prefix N" (and a plyr.sav written N seconds ago),
// "fifo", "-> TARGET" (a link), else a file with that text; "$H" stands for HOME, and
// XDG_CONFIG_HOME is $H/xdg-config. What is found, paths below HOME: the candidates in their
// order as "PREFIX (ORIGIN, NAME OF ITS CONFIG)", with "#N" after one that holds the game
// (N: 1 for the newest plyr.sav), then the files skipped.
struct Row {
  std::string name;
  Lines home, found;
  std::string winePrefix = "", xdgDataHome = "";
  friend void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }
};

class FakeHomeTest : public testing::TempFolder, public ::testing::WithParamInterface<Row> {
 protected:
  void Make(const fs::path& path, const std::string& what) {
    fs::create_directories(path.parent_path());
    if (what == "fifo") {
      ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    } else if (what.starts_with("-> ")) {
      fs::create_symlink(what.substr(3), path);
    } else if (!what.starts_with("prefix")) {
      std::ofstream(path, std::ios::binary) << what;
    } else {
      fs::create_directories(MakeDriveC(path) / "Games/DF");
      std::ofstream(path / "system.reg") << kSystemReg;
      if (what == "prefix") return;
      std::ofstream(path / "drive_c/Games/DF/plyr.sav") << "save";
      fs::last_write_time(path / "drive_c/Games/DF/plyr.sav",
                          fs::file_time_type::clock::now() - std::chrono::seconds(std::stoi(what.substr(7))));
    }
  }
  std::string Home(std::string text) const {
    for (std::size_t at = text.find("$H"); at != std::string::npos; at = text.find("$H", at))
      text.replace(at, 2, home_.string());
    return text;
  }
  std::string Under(const fs::path& file) const { return file.lexically_relative(home_).string(); }

  fs::path home_;
};

TEST_P(FakeHomeTest, Finds) {
  const Row& row = GetParam();
  home_ = fs::canonical(folder_);
  for (const std::string& made : row.home)
    Make(home_ / made.substr(0, made.find(" = ")), Home(made.substr(made.find(" = ") + 3)));
  Candidates candidates =
      CandidatePrefixes({home_, Home(row.winePrefix), Home(row.xdgDataHome), home_ / "xdg-config"});
  const std::vector<GameInPrefix> games = FindGames(candidates.prefixes, candidates.skipped);
  Lines found;
  for (const PrefixCandidate& c : candidates.prefixes) {
    found.push_back(Under(c.prefix) + " (" + c.origin + (c.config.empty() ? "" : ", ") +
                    c.config.filename().string() + ")");
    for (std::size_t i = 0; i < games.size(); ++i)
      if (games[i].candidate.prefix == c.prefix) found.back() += " #" + std::to_string(i + 1);
  }
  for (const SkippedFile& file : candidates.skipped)
    found.push_back("skipped " + Under(file.file) + ": " + Describe(file.why, Catalogue::English()));
  EXPECT_EQ(found, row.found);
}

const Row kRows[] = {
    // WINEPREFIX names the one prefix to use, whatever else HOME holds; even one not there.
    {.name = "WinePrefix",
     .home = {".wine = prefix 60", "Games/df = prefix 20"},
     .found = {"Games/df (WINEPREFIX) #1"},
     .winePrefix = "$H/Games/df"},
    {.name = "WinePrefixNotThere", .home = {}, .found = {"gone (WINEPREFIX)"}, .winePrefix = "$H/gone"},
    // The library list in steamapps, any case of "path", two spellings of one library, the
    // apps' folders not taken for libraries; the older list in config, with an old
    // library's "SteamApps"; a list with CRLF line ends; ~/.steam/steam a link to the same install,
    // ~/.steam/root a
    // dangling one. Not games: a registry cut short, one that is a FIFO, no plyr.sav.
    {.name = "Steam",
     .home =
         {".local/share/Steam/steamapps/libraryfolders.vdf = \"libraryfolders\"\r\n{\r\n\t\"0\"\n\t{\n\t\t"
          "\"path\"\t\t\"$H/.local/share/Steam\"\n\t\t\"apps\" { \"100\" \"$H/l5\" }\n\t}\n\t\"1\"\n\t{"
          "\n\t\t\"Path\"\t\t\"$H/l2\"\n\t}\n\t\"2\" { \"path\" \"$H/l2/../l2\" }\n\t\"3\" { \"PATH\" "
          "\"$H/l6\" }\n}\n",
          ".local/share/Steam/config/libraryfolders.vdf = \"LibraryFolders\"\n{\n\t// by hand\n\t"
          "\"ContentStatsID\"\t\"-1\"\n\t1\t\"$H/lib\\\"3\"\n}\n",
          kSteam + "300/pfx = prefix 10",
          kSteam + "300/pfx/system.reg = WINE REGISTRY Version 2\n[Software\\\\Micro",
          kSteam + "310/pfx/system.reg = fifo", ".steam/steam = -> $H/.local/share/Steam",
          ".steam/root = -> $H/gone", "l2/steamapps/compatdata/400/pfx = prefix",
          "l6/steamapps/compatdata/410/pfx = prefix", "lib\"3/SteamApps/compatdata/500/pfx = prefix",
          "l5/steamapps/compatdata/800/pfx = prefix"},
     .found = {kSteam + "300/pfx (Steam, steam)", kSteam + "310/pfx (Steam, steam)",
               "l2/steamapps/compatdata/400/pfx (Steam, libraryfolders.vdf)",
               "l6/steamapps/compatdata/410/pfx (Steam, libraryfolders.vdf)",
               "lib\"3/SteamApps/compatdata/500/pfx (Steam, libraryfolders.vdf)",
               "skipped " + kSteam + "310/pfx/system.reg: a FIFO, not a file"}},
    // Flatpak's, never migrated and migrated, the latter also reached through its
    // .steam/steam link: its list is cut short, so its own prefixes count, its library not.
    {.name = "SteamFlatpak",
     .home = {kSteamFlatpak + ".local/share/Steam/steamapps/compatdata/610/pfx = prefix",
              kSteamFlatpak + "data/Steam/steamapps/libraryfolders.vdf = \"libraryfolders\" { \"1\" { "
                              "\"path\" \"$H/l4\"",
              kSteamFlatpak + "data/Steam/steamapps/compatdata/600/pfx = prefix",
              kSteamFlatpak + ".steam/steam = -> ../data/Steam", "l4/steamapps/compatdata/700/pfx = prefix"},
     .found = {kSteamFlatpak + ".local/share/Steam/steamapps/compatdata/610/pfx (Steam (Flatpak), Steam)",
               kSteamFlatpak + "data/Steam/steamapps/compatdata/600/pfx (Steam (Flatpak), Steam)",
               "skipped " + kSteamFlatpak +
                   "data/Steam/steamapps/libraryfolders.vdf: not well-formed KeyValues"}},
    // Snap's, and its prefixes in snapd's hidden-snap-folder layout.
    {.name = "SteamSnap",
     .home = {"snap/steam/common/.local/share/Steam/steamapps/libraryfolders.vdf = fifo",
              kSnap + " = prefix"},
     .found =
         {kSnap + " (Steam (Snap), Steam)",
          "skipped snap/steam/common/.local/share/Steam/steamapps/libraryfolders.vdf: a FIFO, not a file"}},
    // "prefix:" with "~", under "wine:", none at all (the prefix above the exe: the nearest,
    // and only a folder with a drive_c); a prefix already found is not listed twice; the
    // config folder moved by XDG_CONFIG_HOME.
    {.name = "Lutris",
     .home =
         {"xdg-config/lutris/games/df-1.yml = game:\n  prefix: ~/Games/df\nwine:\n  version: lutris-7\n",
          ".local/share/lutris/games/df-2.yml = game: {prefix: '$H/.wine'}\nwine:\n  prefix: [not, a]\n",
          ".local/share/lutris/games/df-3.yml = game:\n  exe: x.exe\nwine:\n  prefix: ~/Games/under-wine\n",
          kLutrisFlatpak + "data/lutris/games/df-4.yml = game:\n  exe: " + kDeepExe + "\n",
          ".local/share/lutris/games/df-5.yml = game:\n  exe: ~/Games/o/drive_c/in/drive_c/no/x.exe\n",
          "Games/o = prefix", "Games/o/drive_c/in = prefix", "Games/o/drive_c/in/drive_c/no/system.reg = ",
          ".local/share/lutris/games/broken.yml = game:\n  prefix: [unclosed\n",
          ".local/share/lutris/games/dangling.yml = -> $H/gone.yml",
          kLutrisFlatpak + "config/lutris/games = -> games", "Games/df = prefix", ".wine = prefix",
          "Games/under-wine = prefix", "Games/walk = prefix"},
     .found = {".wine (Wine)", "Games/df (Lutris, df-1.yml)", "Games/under-wine (Lutris, df-3.yml)",
               "Games/o/drive_c/in (Lutris, df-5.yml)", "Games/walk (Lutris (Flatpak), df-4.yml)",
               "skipped .local/share/lutris/games/broken.yml: not YAML",
               "skipped " + kLutrisFlatpak + "config/lutris/games: Too many levels of symbolic links"}},
    // A Steam prefix named by another path is the same prefix.
    {.name = "LutrisNamingASteamPrefix",
     .home = {kSteam + "1/pfx = prefix", "Games/steam = -> $H/" + kSteam + "1/pfx",
              ".local/share/lutris/games/df.yml = game:\n  prefix: ~/Games/steam\n"},
     .found = {kSteam + "1/pfx (Steam, Steam)"}},
    // Its default folder, a folder chosen in its data.yml, a bottle on another disk.
    {.name = "Bottles",
     .home = {".local/share/bottles/bottles/DF = prefix", ".local/share/bottles/bottles/NoRegistry/x = ",
              ".local/share/bottles/data.yml = custom_bottles_path: $H/disk/bottles\n",
              ".local/share/bottles/bottles/Away/placeholder.yml = Path: $H/disk2/Away\n",
              "disk/bottles/Chosen = prefix", "disk2/Away = prefix",
              kBottlesFlatpak + "data.yml = a: " + std::string(2 << 20, 'x') + "\n",
              kBottlesFlatpak + "bottles = a file where the bottles belong"},
     .found = {"disk2/Away (Bottles, placeholder.yml)", ".local/share/bottles/bottles/DF (Bottles, bottles)",
               "disk/bottles/Chosen (Bottles, data.yml)",
               "skipped " + kBottlesFlatpak + "data.yml: too big (2097156 bytes, at most 1048576)",
               "skipped " + kBottlesFlatpak + "bottles: Not a directory"}},
    // A Wine and a Proton game config, native and Flatpak, and its own prefixes folder.
    {.name = "Heroic",
     .home = {"xdg-config/heroic/GamesConfig/Df.json = {\"Df\": {\"winePrefix\": "
              "\"~/Games/Heroic/Prefixes/default/DF\", \"wineVersion\": {\"type\": \"wine\"}}, \"version\": "
              "\"v0\"}",
              ".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/P.json = {\"P\": "
              "{\"winePrefix\": \"$H/proton\", \"wineVersion\": {\"type\": \"proton\"}}}",
              "Games/Heroic/Prefixes/default/DF = prefix", "proton/pfx = prefix",
              "Games/Heroic/Prefixes/default/Other/pfx = prefix"},
     .found = {"Games/Heroic/Prefixes/default/DF (Heroic, Df.json)", "proton/pfx (Heroic (Flatpak), P.json)",
               "Games/Heroic/Prefixes/default/Other/pfx (Heroic, default)"}},
    // winetricks' folder moved by XDG_DATA_HOME.
    {.name = "UmuWinetricksPlayOnLinux",
     .home = {"Games/umu/a/pfx = prefix", "xdg-data/wineprefixes/df = prefix",
              ".local/share/wineprefixes/no = prefix", ".PlayOnLinux/wineprefix/cz = prefix"},
     .found = {"Games/umu/a/pfx (umu, umu)", "xdg-data/wineprefixes/df (winetricks, wineprefixes)",
               ".PlayOnLinux/wineprefix/cz (PlayOnLinux, wineprefix)"},
     .xdgDataHome = "$H/xdg-data"},
    // Every launcher in turn; the games the most recently played first. A key's name in any case.
    {.name = "NewestPlayerFileFirst",
     .home = {".wine = prefix 60", kSteam + "1/pfx = prefix 40",
              ".local/share/lutris/games/df.yml = game:\n  prefix: ~/Games/df\n", "Games/df = prefix 20",
              ".local/share/bottles/bottles/DF = prefix 70", "Games/Heroic/Prefixes/DF = prefix 0",
              "Games/umu/a = prefix 150", ".local/share/wineprefixes/df = prefix 30",
              ".PlayOnLinux/wineprefix/cz = prefix 170",
              ".PlayOnLinux/wineprefix/cz/system.reg = "
              "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App "
              "Paths\\\\ZOVUR.EXE] 1\n\"Path\"=\"C:\\\\Games\\\\DF\"\n"},
     .found = {".wine (Wine) #5", kSteam + "1/pfx (Steam, Steam) #4", "Games/df (Lutris, df.yml) #2",
               ".local/share/bottles/bottles/DF (Bottles, bottles) #6",
               "Games/Heroic/Prefixes/DF (Heroic, Prefixes) #1", "Games/umu/a (umu, umu) #7",
               ".local/share/wineprefixes/df (winetricks, wineprefixes) #3",
               ".PlayOnLinux/wineprefix/cz (PlayOnLinux, wineprefix) #8"}},
};
INSTANTIATE_TEST_SUITE_P(Launchers, FakeHomeTest, ::testing::ValuesIn(kRows),
                         [](const auto& test) { return test.param.name; });

// More places that never answer than there are workers (each reads a pipe nobody writes, as a
// look at a stopped FUSE mount waits): the others still answer, and nothing waits for the
// stuck ones, which own what they read.
TEST(BoundedJobsTest, APlaceThatDoesNotAnswerHoldsNoOther) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const auto unanswered = std::make_shared<Descriptor>(ends[0]);
  std::vector<std::function<int()>> jobs(5, [unanswered] {
    char byte;
    return static_cast<int>(::read(unanswered->get(), &byte, 1));
  });
  for (int k = 1; k <= 3; ++k) jobs.push_back([k] { return k; });
  const auto results =
      RunBounded(std::move(jobs), std::chrono::steady_clock::now() + std::chrono::seconds(60),
                 std::chrono::milliseconds(100));
  ::close(ends[1]);  // the stuck ones return now, to nobody
  const std::vector<std::optional<int>> expected = {
      std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 1, 2, 3};
  EXPECT_EQ(results, expected);
}

}  // namespace
}  // namespace velquin
