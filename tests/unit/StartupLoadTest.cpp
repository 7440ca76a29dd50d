#include "core/StartupLoad.h"
#include "unit/PlayerFileFixture.h"

namespace velquin {
namespace {

using testing::PatternFile;
using testing::Put;
using LoadTest = testing::PlayerFileFixture;

TEST_F(LoadTest, ReadsFiveNamesAndTenMacrosFromTheirPositions) {
  auto file = PatternFile();
  const char* names[] = {"Alpha", "B\xE9ta", "", "Delta\x80", "Epsilon"};
  for (int k = 0; k < kNameSlots; ++k)
    Put(file, 12 + 2108 * static_cast<std::size_t>(k), std::string(names[k]) + '\0');
  for (int m = 0; m < kMacroSlots; ++m)
    Put(file, 228 + 40 * static_cast<std::size_t>(m), "macro " + std::to_string(m) + '\0');
  WriteFile(file);

  const NamesAndMacros loaded = LoadNamesAndMacros(GamePath(), files_, codePage_);

  EXPECT_EQ(loaded.names[0], "Alpha");
  EXPECT_EQ(loaded.names[1], "B\xC3\xA9ta");  // byte 0xE9 is é
  EXPECT_EQ(loaded.names[2], "");
  EXPECT_EQ(loaded.names[3], "Delta\xE2\x82\xAC");  // byte 0x80 is the euro sign
  EXPECT_EQ(loaded.names[4], "Epsilon");
  for (int m = 0; m < kMacroSlots; ++m) EXPECT_EQ(loaded.macros[m], "macro " + std::to_string(m));
}

TEST_F(LoadTest, AFieldWithoutZeroByteReadsOnIntoTheFollowingBytes) {
  auto file = PatternFile();
  // Name slot 2 holds no zero byte until offset 40 of its record.
  const std::size_t record2 = 12 + 2108 * 2 - 12;
  Put(file, record2 + 12, std::string(28, 'n') + '\0');
  // Macro slot 4 is full: it reads on into slot 5.
  Put(file, 228 + 40 * 4, std::string(40, 'x') + "next" + '\0');
  // Names are shown in full, past the 15-character save limit.
  Put(file, 12, std::string(20, 'L') + '\0');
  WriteFile(file);

  const NamesAndMacros loaded = LoadNamesAndMacros(GamePath(), files_, codePage_);

  EXPECT_EQ(loaded.names[2], std::string(28, 'n'));
  EXPECT_EQ(loaded.macros[4], std::string(40, 'x') + "next");
  EXPECT_EQ(loaded.macros[5], "next");
  EXPECT_EQ(loaded.names[0], std::string(20, 'L'));
}

TEST_F(LoadTest, AShortFileEndsItsFieldsAndReadsTheRestAsEmpty) {
  auto file = PatternFile(2120 + 3);  // ends three bytes into name slot 1, with no zero byte
  Put(file, 12, std::string("First") + '\0');
  Put(file, 228, std::string("Macro") + '\0');
  Put(file, 2120, "abc");
  WriteFile(file);

  const NamesAndMacros loaded = LoadNamesAndMacros(GamePath(), files_, codePage_);

  EXPECT_EQ(loaded.names[0], "First");
  EXPECT_EQ(loaded.names[1], "abc");
  EXPECT_EQ(loaded.names[2], "");
  EXPECT_EQ(loaded.names[4], "");
  EXPECT_EQ(loaded.macros[0], "Macro");

  WriteFile({});
  const NamesAndMacros empty = LoadNamesAndMacros(GamePath(), files_, codePage_);
  for (const auto& name : empty.names) EXPECT_EQ(name, "");
  for (const auto& macro : empty.macros) EXPECT_EQ(macro, "");
}

TEST_F(LoadTest, NoFileNoFolderOrNoGameFolderLoadsNothing) {
  for (const std::string& gamePath : {GamePath(), GamePath() + "/missing", std::string()}) {
    const NamesAndMacros loaded = LoadNamesAndMacros(gamePath, files_, codePage_);
    for (const auto& name : loaded.names) EXPECT_EQ(name, "") << gamePath;
    for (const auto& macro : loaded.macros) EXPECT_EQ(macro, "") << gamePath;
  }
  // A folder in place of the file is unreadable, not a crash.
  std::filesystem::create_directory(PlayerFile());
  EXPECT_EQ(LoadNamesAndMacros(GamePath(), files_, codePage_).names[0], "");
}

}  // namespace
}  // namespace velquin
