#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ZOVURFolder/ZOVURFolder.h"
#include "core/Saves.h"
#include "core/StartupLoad.h"
#include "discovery/GameDiscovery.h"
#include "posix/PrefixServices.h"

namespace velquin {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Over a prefix that real Wine made, with code page 1251 and the game in C:\Игры\DF, whose
// first name is "Иван" in 1251 (tests/discovery/run_real_prefixes.sh lays it out): found, the
// name read, and a new name written as 1251 bytes with nothing else touched.
TEST(RealPrefixesTest, AGameFolderInCyrillicIsFoundAndItsNamesKeepTheCodePage) {
  const char* variable = std::getenv("VELQUIN_REAL_PREFIXES_HOME");
  if (variable == nullptr) GTEST_SKIP() << "run by tests/discovery/run_real_prefixes.sh";
  Candidates candidates = CandidatePrefixes({fs::canonical(variable), "", "", ""});
  const std::vector<GameInPrefix> games = FindGames(candidates.prefixes, candidates.skipped);
  ASSERT_EQ(games.size(), 1u);
  const std::string folder = "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\DF";
  EXPECT_EQ(games[0].gameFolder, folder);

  PlatformServices os = MakePrefixServices(games[0].prefix);
  ASSERT_EQ(LookUpGameFolder(*os.registry, *os.codePage), folder);
  std::array<std::string, kNameSlots> names = LoadNamesAndMacros(folder, *os.files, *os.codePage).names;
  EXPECT_EQ(names[0], "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD");  // Иван
  std::string expected = Bytes(games[0].playerFile);
  names[0] = "\xD0\x9F\xD1\x91\xD1\x82\xD1\x80";  // Пётр
  ASSERT_TRUE(SaveNames(folder, names, *os.files, *os.codePage).saved);
  expected.replace(12, 4, "\xCF\xB8\xF2\xF0");
  EXPECT_EQ(Bytes(games[0].playerFile), expected);
}

}  // namespace
}  // namespace velquin
