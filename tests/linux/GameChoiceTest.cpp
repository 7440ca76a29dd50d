#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ZOVURFolder/ZOVURFolder.h"
#include "app/linux/GameChoice.h"
#include "app/linux/Launchers.h"
#include "app/linux/RememberedGame.h"
#include "core/Saves.h"
#include "unit/TempFolder.h"

namespace velquin {
namespace {

using GameChoiceTest = testing::TempFolder;

const Catalogue& English() {
  return Catalogue::English();
}

// A prefix holding the game whose programs see a double-byte code page: found and listed, but
// the window opens empty with the reason in the status bar, and no save writes a byte.
TEST_F(GameChoiceTest, UsesTheNewestGameOrTheOneGivenAndEditsNothingInADoubleByteCodePage) {
  const auto prefix = folder_ / "pfx";
  std::filesystem::create_directories(MakeDriveC(prefix) / "DF");
  Write("pfx/system.reg",
        "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] "
        "1\n\"Path\"=\"C:\\\\DF\"\n\n"
        "[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\Codepage] 1\n\"ACP\"=\"932\"\n");
  const std::string stored(12, '\1');
  Write("pfx/drive_c/DF/plyr.sav", stored + "Name");

  const GameChoice choice = ChooseGame({folder_ / "home", prefix.string(), "", ""}, "", English());
  ASSERT_EQ(choice.games.size(), 1u);
  EXPECT_EQ(choice.prefix, choice.games[0].prefix);  // the same object, opened once
  EXPECT_EQ(choice.refusal,
            "This prefix uses code page 932, a double-byte code page; Velquin edits single-byte names only.");
  EXPECT_NE(DescribeChoice(choice, English()).find(choice.refusal), std::string::npos);

  PlatformServices os = ServicesFor(choice);
  EXPECT_EQ(LookUpGameFolder(*os.registry, *os.codePage), "");
  EXPECT_FALSE(SaveNames("C:\\DF", {"A", "", "", "", ""}, *os.files, *os.codePage).saved);
  std::ifstream in(prefix / "drive_c" / "DF" / "plyr.sav", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), stored + "Name");

  // ~/.wine an older copy of this prefix, winetricks' prefix this one: the newest plyr.sav is
  // used, unless --prefix names another.
  namespace fs = std::filesystem;
  const fs::path home = folder_ / "home", old = home / ".wine";
  fs::create_directories(home / ".local/share/wineprefixes");
  fs::create_directory_symlink(prefix, home / ".local/share/wineprefixes/df");
  fs::copy(prefix, old, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  fs::last_write_time(old / "drive_c/DF/plyr.sav", fs::file_time_type::clock::now() - std::chrono::hours(1));
  const std::pair<std::string, fs::path> rows[] = {{"", prefix}, {old.string(), old}};
  for (const auto& [given, used] : rows)
    EXPECT_EQ(fs::canonical(ChooseGame({home, "", "", ""}, given, English()).prefix->folder()),
              fs::canonical(used));

  // The pick kept from the window is used while it holds the game, and --list marks it;
  // --prefix and WINEPREFIX override it; a kept install that is gone, or a settings file that
  // is garbage, huge or a FIFO, gives way to the newest, with a note.
  const fs::path conf = home / ".config/velquin/velquin.conf";
  const std::string gone = "[game]\nprefix=" + (home / "gone").string() + "\n";
  const struct {
    std::string config;  // "": as RememberGame wrote it
    std::string given, winePrefix;
    fs::path used;
    std::string said;
  } remembered[] = {
      {"", "", "", old, "(Wine, remembered)"},
      {"", prefix.string(), "", prefix, "(--prefix)"},
      {"", "", prefix.string(), prefix, "(WINEPREFIX)"},
      {gone, "", "", prefix,
       "The install picked last, " + (home / "gone").string() + ", no longer holds DF:TFD"},
      {"\x01\x7f[\xff", "", "", prefix, "velquin.conf: not a Velquin settings file"},
      {std::string(3 << 20, '#'), "", "", prefix, "velquin.conf: too big"},
      {"FIFO", "", "", prefix, "velquin.conf: a FIFO"},
  };
  for (const auto& row : remembered) {
    fs::remove(conf);
    ASSERT_TRUE(RememberGame({home, "", "", ""}, fs::canonical(old)));
    if (row.config == "FIFO") {
      fs::remove(conf);
      ASSERT_EQ(mkfifo(conf.c_str(), 0600), 0);
    } else if (!row.config.empty()) {
      std::ofstream(conf, std::ios::binary) << row.config;
    }
    const GameChoice picked = ChooseGame({home, row.winePrefix, "", ""}, row.given, English());
    ASSERT_TRUE(picked.prefix) << row.said;
    EXPECT_EQ(fs::canonical(picked.prefix->folder()), fs::canonical(row.used)) << row.said;
    EXPECT_NE(DescribeChoice(picked, English()).find(row.said), std::string::npos)
        << DescribeChoice(picked, English());
  }
  // Written over a FIFO in its place, and read back.
  ASSERT_TRUE(RememberGame({home, "", "", ""}, fs::canonical(old)));
  EXPECT_EQ(ChooseGame({home, "", "", ""}, "", English()).remembered, fs::canonical(old));

  // Nothing found at all: no prefix is used and the lookup finds no game.
  const GameChoice none = ChooseGame({folder_ / "empty-home", "", "", ""}, "", English());
  EXPECT_FALSE(none.prefix);
  EXPECT_EQ(LookUpGameFolder(*ServicesFor(none).registry, *ServicesFor(none).codePage), "");
  EXPECT_EQ(none.refusal, "DF:TFD was not found in any Wine prefix.");
}

// One list of launchers: the README's table, the manual page and the AppStream text name each
// launcher of discovery's table, in its order.
TEST(GameChoiceDocuments, NameEveryLauncherOfTheTableInOrder) {
  const std::string source = VELQUIN_SOURCE_DIR, build = VELQUIN_BUILD_DIR;
  const struct {
    std::string file;
    std::string (*expected)(const Launcher&);
  } documents[] = {
      {source + "/README.md", [](const Launcher& l) { return "\n| " + std::string(l.name) + " | "; }},
      {build + "/app/linux/velquin.1",
       [](const Launcher& l) {
         return ".B " + std::string(l.name) + "\n" + std::string(English()[l.places]) + "\n";
       }},
      {build + "/app/linux/io.velquin.Velquin.metainfo.xml",
       [](const Launcher& l) { return std::string(l.name); }},
  };
  for (const auto& document : documents) {
    std::ifstream in(document.file, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    std::size_t at = 0;
    for (const Launcher& launcher : kLaunchers) {
      at = text.find(document.expected(launcher), at);
      EXPECT_NE(at, std::string::npos) << document.file << " lacks " << document.expected(launcher);
    }
  }
}

}  // namespace
}  // namespace velquin
