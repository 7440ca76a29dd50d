#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>

#include "core/StartupLoad.h"
#include "platform/posix/PosixFileAccess.h"
#include "platform/posix/Windows1252.h"
#include "unit/TempFolder.h"
#include "wine/WinePrefix.h"

namespace velquin {
namespace {

using WinePrefixTest = testing::TempFolder;

TEST_F(WinePrefixTest, WindowsPathsGoThroughTheDriveLinksWithoutRegardToCase) {
  const auto drive = MakeDriveC(folder_);
  Write("drive_c/Games/DF Game/PLYR.SAV", std::string(12, '\1') + "Neo" + '\0');

  // A name that is not there yet stays as given, for a file to be created.
  EXPECT_EQ(ResolveWindowsPath(folder_, "c:\\GAMES\\new.sav"),
            folder_ / "dosdevices" / "c:" / "Games" / "new.sav");
  EXPECT_FALSE(ResolveWindowsPath(folder_, "\\plyr.sav"));
  EXPECT_FALSE(ResolveWindowsPath(folder_, "games\\plyr.sav"));

  // The load finds the file through the prefix whatever the case of the stored path.
  PosixFileAccess files(folder_);
  EXPECT_EQ(LoadNamesAndMacros("C:\\GAMES\\df GAME", files, Windows1252()).names[0], "Neo");

  // A FIFO in the player file's place is refused at once: nothing waits for a writer or reader.
  ASSERT_EQ(::mkfifo((drive / "Games" / "fifo.sav").c_str(), 0600), 0);
  EXPECT_FALSE(files.ReadWholeFile("C:\\Games\\fifo.sav").ok());
  EXPECT_FALSE(files.OpenForWrite("C:\\Games\\fifo.sav").ok());

  // The file held open by this program itself may be written; held by another process, not.
  const int held = ::open((drive / "Games/DF Game/PLYR.SAV").c_str(), O_RDONLY);
  EXPECT_TRUE(files.OpenForWrite("C:\\Games\\DF Game\\plyr.sav").ok());
  const pid_t holder = ::fork();
  if (holder == 0) ::_exit(::pause());  // shares `held` until killed
  ASSERT_GT(holder, 0);
  EXPECT_EQ(files.OpenForWrite("C:\\Games\\DF Game\\plyr.sav").code(), static_cast<unsigned>(EBUSY));
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  ::close(held);
}

}  // namespace
}  // namespace velquin
