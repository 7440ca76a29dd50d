#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>

#include <clocale>
#include <cstdlib>

#include "core/StartupLoad.h"
#include "posix/OpenFileHolders.h"
#include "posix/PosixFileAccess.h"
#include "unit/TempFolder.h"
#include "wine/Windows1252.h"
#include "wine/WindowsPaths.h"

namespace velquin {
namespace {

using WinePrefixTest = testing::TempFolder;

TEST_F(WinePrefixTest, WindowsPathsGoThroughTheDriveLinksWithoutRegardToCase) {
  const auto drive = MakeDriveC(folder_);
  Write("drive_c/Games/DF Game/PLYR.SAV", std::string(12, '\1') + "Neo" + '\0');

  // With names that differ only in case, the one Wine opens: the exact spelling, whatever the
  // folder lists first.
  for (const char* name : {"PLYR.SAV", "Plyr.sav", "plyr.sav", "pLYR.SAV"})
    Write("drive_c/both/" + std::string(name), "");
  EXPECT_EQ(ResolveWindowsPath(folder_, "C:\\both\\plyr.sav"), folder_ / "dosdevices/c:/both/plyr.sav");
  // A name that is not there yet stays as given, for a file to be created.
  EXPECT_EQ(ResolveWindowsPath(folder_, "c:\\GAMES\\new.sav"),
            folder_ / "dosdevices" / "c:" / "Games" / "new.sav");
  EXPECT_FALSE(ResolveWindowsPath(folder_, "\\plyr.sav"));
  EXPECT_FALSE(ResolveWindowsPath(folder_, "games\\plyr.sav"));
  // Windows takes at most 32,767 UTF-16 units: an "é" is one, a "😀" two; a longer path is refused.
  std::string longest = "C:\\";
  for (int k = 0; k < 32764; ++k) longest += "é";
  EXPECT_EQ(ResolveWindowsPath(folder_, longest), folder_ / "dosdevices/c:" / longest.substr(3));
  EXPECT_FALSE(ResolveWindowsPath(folder_, longest + "é"));
  EXPECT_FALSE(ResolveWindowsPath(folder_, "C:\\😀" + std::string(32763, 'a')));
  // A deep path is walked once, name by name (a hang guard: it took minutes when every name
  // was looked up along the whole path again).
  std::string deep = "C:\\GAMES", expected = (folder_ / "dosdevices/c:/Games").string();
  for (int k = 0; k < 16000; ++k) deep += "\\X", expected += "/X";
  EXPECT_EQ(ResolveWindowsPath(folder_, deep), expected);

  // Names match by their ASCII letters whatever the C locale: a Turkish 8-bit one folds 'I' to 'ı'.
  Write("drive_c/Games/fi.sav", "");
  ASSERT_EQ(
      std::system(("localedef -i tr_TR -f ISO-8859-9 " + (folder_ / "tr_TR.ISO-8859-9").string()).c_str()),
      0);
  ::setenv("LOCPATH", folder_.c_str(), 1);
  ASSERT_TRUE(std::setlocale(LC_CTYPE, "tr_TR.ISO-8859-9"));
  EXPECT_EQ(ResolveWindowsPath(folder_, "C:\\GAMES\\FI.SAV"), folder_ / "dosdevices/c:/Games/fi.sav");
  std::setlocale(LC_CTYPE, "C");

  PosixFileAccess files(folder_);
  EXPECT_EQ(LoadNamesAndMacros("C:\\GAMES\\df GAME", files, Windows1252()).names[0], "Neo");

  // A FIFO in the player file's place is refused at once: nothing waits for a writer or reader.
  ASSERT_EQ(::mkfifo((drive / "Games" / "fifo.sav").c_str(), 0600), 0);
  EXPECT_FALSE(files.OpenForRead("C:\\Games\\fifo.sav").ok());
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

  // Another process opening the file in the instant the check holds its lease is signalled
  // to it: a signal that would end or stop this process must not come.
  const std::filesystem::path file = drive / "Games/DF Game/PLYR.SAV";
  const pid_t opener = ::fork();
  if (opener == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // ends with this process, however it ends
    for (;;) ::close(::open(file.c_str(), O_RDONLY));
  }
  ASSERT_GT(opener, 0);
  int free = 0;
  for (int k = 0; k < 20000; ++k) free += !OpenInAnotherProcess(file);
  EXPECT_GT(free, 0);  // the lease was had while the opener ran
  ::kill(opener, SIGKILL);
  ::waitpid(opener, nullptr, 0);
}

}  // namespace
}  // namespace velquin
