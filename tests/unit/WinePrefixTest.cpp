#include <gtest/gtest.h>

#include "core/StartupLoad.h"
#include "platform/posix/PosixFileAccess.h"
#include "platform/posix/Windows1252.h"
#include "platform/posix/WinePrefix.h"
#include "unit/TempFolder.h"

namespace velquin {
namespace {

using WinePrefixTest = testing::TempFolder;

TEST_F(WinePrefixTest, WindowsPathsGoThroughTheDriveLinksWithoutRegardToCase) {
  const auto drive = folder_ / "drive_c";
  std::filesystem::create_directories(drive / "Games" / "DF Game");
  std::filesystem::create_directories(folder_ / "dosdevices");
  std::filesystem::create_directory_symlink("../drive_c", folder_ / "dosdevices" / "c:");
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
}

}  // namespace
}  // namespace velquin
