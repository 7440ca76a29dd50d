#include <gtest/gtest.h>

#include <cstdlib>

#include "discovery/GameDiscovery.h"

namespace velquin {
namespace {

namespace fs = std::filesystem;

// Over prefixes that real Wine made and wrote the game's entry into: a Steam one, and a
// Lutris one with the newer plyr.sav (tests/discovery/run_real_prefixes.sh lays them out).
TEST(RealPrefixesTest, TheNewerPlayerFileOfASteamAndALutrisPrefixWins) {
  const char* variable = std::getenv("VELQUIN_REAL_PREFIXES_HOME");
  if (variable == nullptr) GTEST_SKIP() << "run by tests/discovery/run_real_prefixes.sh";
  const fs::path home = fs::canonical(variable);

  const std::vector<PrefixCandidate> candidates = CandidatePrefixes(home, "");
  ASSERT_EQ(candidates.size(), 2u);
  EXPECT_EQ(candidates[0].prefix, home / ".local/share/Steam/steamapps/compatdata/123/pfx");
  EXPECT_EQ(candidates[1].prefix, home / "Games/df-tfd");

  const std::vector<GameInPrefix> games = FindGames(candidates);
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(games[0].candidate.origin, "Lutris");
  EXPECT_EQ(games[0].gameFolder, "C:\\Games\\DF");
  EXPECT_EQ(fs::canonical(games[0].playerFile), home / "Games/df-tfd/drive_c/Games/DF/plyr.sav");
  EXPECT_EQ(games[1].candidate.origin, "Steam");
  EXPECT_GT(games[0].modified, games[1].modified);
}

}  // namespace
}  // namespace velquin
