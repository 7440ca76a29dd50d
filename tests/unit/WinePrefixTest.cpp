#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ZOVURFolder/ZOVURFolder.h"
#include "core/StartupLoad.h"
#include "platform/posix/PosixFileAccess.h"
#include "platform/posix/PrefixServices.h"
#include "platform/posix/Windows1252.h"
#include "unit/TempFolder.h"
#include "wine/WinePrefix.h"

namespace velquin {
namespace {

using WinePrefixTest = testing::TempFolder;

TEST_F(WinePrefixTest, WindowsPathsGoThroughTheDriveLinksWithoutRegardToCase) {
  const auto drive = MakeDriveC(folder_);
  std::filesystem::create_directories(drive / "Games" / "DF Game");
  std::ofstream(drive / "Games" / "DF Game" / "PLYR.SAV") << "x";

  EXPECT_EQ(ResolveWindowsPath(folder_, "C:\\games\\df game\\plyr.sav"),
            folder_ / "dosdevices" / "c:" / "Games" / "DF Game" / "PLYR.SAV");
  // A name that is not there yet stays as given, for a file to be created.
  EXPECT_EQ(ResolveWindowsPath(folder_, "c:\\GAMES\\new.sav"),
            folder_ / "dosdevices" / "c:" / "Games" / "new.sav");
  EXPECT_EQ(ResolveWindowsPath(folder_, "/home/player/DF\\plyr.sav"),
            std::filesystem::path("/home/player/DF/plyr.sav"));
  EXPECT_FALSE(ResolveWindowsPath(folder_, "\\plyr.sav"));

  // ".." never climbs above the drive's root, also through a drive that links elsewhere.
  const auto c = folder_ / "dosdevices" / "c:";
  EXPECT_EQ(ResolveWindowsPath(folder_, "C:\\..\\plyr.sav"), c / "plyr.sav");
  EXPECT_EQ(ResolveWindowsPath(folder_, "C:\\.."), c);
  EXPECT_EQ(ResolveWindowsPath(folder_, "C:\\Games\\..\\..\\..\\x\\.\\y"), c / "x" / "y");
  std::filesystem::create_directory_symlink(folder_ / "Games", folder_ / "dosdevices" / "d:");
  EXPECT_EQ(ResolveWindowsPath(folder_, "d:\\a\\..\\..\\b"), folder_ / "dosdevices" / "d:" / "b");
  EXPECT_FALSE(ResolveWindowsPath(folder_, "games\\plyr.sav"));

  // The load finds the file through the prefix whatever the case of the stored path.
  PosixFileAccess files(folder_);
  std::ofstream(drive / "Games" / "DF Game" / "PLYR.SAV", std::ios::binary)
      << std::string(12, '\1') << "Neo" << '\0';
  EXPECT_EQ(LoadNamesAndMacros("C:\\GAMES\\df GAME", files, Windows1252()).names[0], "Neo");

  // A FIFO in the player file's place is refused at once: nothing waits for a writer or reader.
  ASSERT_EQ(::mkfifo((drive / "Games" / "fifo.sav").c_str(), 0600), 0);
  EXPECT_FALSE(files.ReadWholeFile("C:\\Games\\fifo.sav").ok());
  EXPECT_FALSE(files.OpenForWrite("C:\\Games\\fifo.sav").ok());
}

// A prefix whose registry names its ANSI code page and the game, stored in that code page's
// bytes in the drive's plyr.sav.
class PrefixServicesTest : public testing::TempFolder {
 protected:
  void MakePrefix(const std::string& codePage) {
    std::filesystem::create_directories(MakeDriveC(folder_) / "DF");
    Write("system.reg",
          "WINE REGISTRY Version 2\n#arch=win32\n\n"
          "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n"
          "\"Path\"=\"C:\\\\DF\\\\\\x0142\"\n\n"  // C:\DF\ł
          "[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\Codepage] 1\n\"ACP\"=\"" +
              codePage + "\"\n");
    std::filesystem::create_directories(folder_ / "drive_c" / "DF" / "\xC5\x82");
    Write(player_, stored_);
  }
  const std::string stored_ = std::string(12, '\1') + "\xB3ukasz" + '\0';  // 0xB3: "ł" in 1250, "³" in 1252
  const std::filesystem::path player_ = std::filesystem::path("drive_c") / "DF" / "\xC5\x82" / "plyr.sav";
};

TEST_F(PrefixServicesTest, ThePrefixsCodePageReadsItsRegistryAndItsPlayerFile) {
  MakePrefix("1250");
  PlatformServices os = MakePrefixServices(Prefix::Open(folder_));
  const std::string gamePath = LookUpGameFolder(*os.registry, *os.codePage);
  EXPECT_EQ(gamePath, "C:\\DF\\\xC5\x82");  // in 1252 the registry call would give "?"
  EXPECT_EQ(LoadNamesAndMacros(gamePath, *os.files, *os.codePage).names[0], "\xC5\x82ukasz");

  // The game moved since the start: the next lookup, before a save, finds it where it is now.
  Write("system.reg",
        "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n"
        "\"Path\"=\"D:\\\\Moved\"\n");
  EXPECT_EQ(LookUpGameFolder(*os.registry, *os.codePage), "D:\\Moved");
}

}  // namespace
}  // namespace velquin
