// The save cases in which a Windows program under Wine holds plyr.sav open, on the Linux
// program's forms and its prefix's services: tests/linux/run_held_file.sh makes the prefix and
// names the holder, which makes the game folder's file "held" once it holds plyr.sav and lets
// go when its standard input ends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cases/SaveCases.h"
#include "forms/ProgramWindows.h"
#include "platform/posix/PrefixServices.h"
#include "wine/Prefix.h"
#include "unit/FakeToolkit.h"

namespace velquin {

TEST(HeldPlayerFile, SavesFailWhileAWindowsProgramHoldsItAndWorkOnceItLetsGo) {
  const char* prefix = std::getenv("VELQUIN_HELD_PREFIX");
  const char* hold = std::getenv("VELQUIN_HOLD_COMMAND");
  if (!prefix || !hold) GTEST_SKIP() << "VELQUIN_HELD_PREFIX and VELQUIN_HOLD_COMMAND not prepared";
  const std::filesystem::path game = std::filesystem::path(prefix) / "drive_c/Games/DF-TFD";
  for (const cases::SaveCase& c : cases::kSaveCases) {
    if (c.pressesWhileHeld == 0) continue;
    SCOPED_TRACE(c.name);
    const cases::Bytes before = cases::StoredPlayerFile();
    std::ofstream(game / "plyr.sav", std::ios::binary) << std::string(before.begin(), before.end());
    FILE* holder = popen(hold, "w");
    for (int wait = 0; wait < 6000 && !std::filesystem::exists(game / "held"); ++wait) usleep(10000);
    ASSERT_TRUE(std::filesystem::remove(game / "held")) << "the holder did not start";

    PlatformServices os = MakePrefixServices(Prefix::Open(prefix));
    testing::FakeToolkit toolkit;
    testing::FakeShell shell;
    ProgramWindows windows(toolkit, shell, os);
    ASSERT_TRUE(windows.main.Show());
    testing::FakeWindow& main = *toolkit.Find("Velquin for DF:TFD");
    for (const auto& [box, text] : c.typed) main.SetText(box, text);
    for (std::size_t i = 0; i <= c.pressed.size(); ++i) {
      if (i == c.pressesWhileHeld && pclose(holder) != 0) ADD_FAILURE() << "the holder did not let go";
      if (i < c.pressed.size()) main.Click(c.pressed[i]);
    }
    EXPECT_EQ(main.panels[1], c.status);
    cases::Bytes expected = before;
    for (const auto& [offset, bytes] : c.changed) cases::Put(expected, offset, bytes);
    std::ifstream in(game / "plyr.sav", std::ios::binary);
    EXPECT_EQ(cases::Bytes(std::istreambuf_iterator<char>(in), {}), expected);
  }
}

}  // namespace velquin
