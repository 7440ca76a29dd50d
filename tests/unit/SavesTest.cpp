#include <sys/stat.h>

#include "core/DefaultMacros.h"
#include "core/Saves.h"
#include "core/StartupLoad.h"
#include "unit/PlayerFileFixture.h"

namespace velquin {
namespace {

using namespace std::literals;

using testing::PatternFile;
using testing::Put;
using SaveTest = testing::PlayerFileFixture;

std::array<std::string, kNameSlots> Names(std::string a, std::string b, std::string c, std::string d,
                                          std::string e) {
  return {a, b, c, d, e};
}

std::array<std::string, kMacroSlots> DefaultTexts() {
  std::array<std::string, kMacroSlots> texts;
  for (int m = 0; m < kMacroSlots; ++m) texts[m] = std::string(kDefaultMacros[m]);
  return texts;
}

TEST_F(SaveTest, NamesLandAtTheirRecordsWithTwoZeroBytesAndNothingElseChanges) {
  const auto before = PatternFile();
  WriteFile(before);

  const SaveOutcome outcome = SaveNames(GamePath(),
                                        Names("Ann", "",
                                              "B\xC3\xA9"
                                              "a",
                                              "x", "Zed"),
                                        files_, codePage_);

  EXPECT_TRUE(outcome.saved);
  EXPECT_EQ(outcome.message, "Names saved!");
  auto expected = before;
  Put(expected, 12, "Ann\0\0"s);
  Put(expected, 2120, "\0\0"s);
  Put(expected, 4228,
      std::string("B\xE9"
                  "a\0\0",
                  5));  // é is byte 0xE9 in the code page
  Put(expected, 6336, "x\0\0"s);
  Put(expected, 8444, "Zed\0\0"s);
  EXPECT_EQ(ReadFile(), expected);
}

TEST_F(SaveTest, AShorterNameKeepsTheOldBytesBehindItsTerminator) {
  auto before = PatternFile();
  Put(before, 12, "LongerName\0"s);
  WriteFile(before);

  ASSERT_TRUE(SaveNames(GamePath(), Names("Bob", "", "", "", ""), files_, codePage_).saved);

  const auto after = ReadFile();
  EXPECT_EQ(std::string(after.begin() + 12, after.begin() + 23), "Bob\0\0rName\0"s);
  EXPECT_EQ(LoadNamesAndMacros(GamePath(), files_, codePage_).names[0], "Bob");
}

TEST_F(SaveTest, MacrosStayInsideTheirSlotsAndNeverReachPastOffset627) {
  const auto before = PatternFile();
  WriteFile(before);
  auto macros = DefaultTexts();
  macros[3] = std::string(50, 'L');  // cut to 39 characters and one zero byte
  macros[9] = std::string(45, 'Z');  // the last slot ends at offset 627

  const SaveOutcome outcome = SaveMacros(GamePath(), macros, files_, codePage_);

  EXPECT_TRUE(outcome.saved);
  EXPECT_EQ(outcome.message, "Messages saved!");
  auto expected = before;
  for (int m = 0; m < kMacroSlots; ++m) {
    const std::size_t offset = 228 + 40 * static_cast<std::size_t>(m);
    std::string field = macros[m].substr(0, 39) + "\0\0"s;
    Put(expected, offset, field.substr(0, 40));
  }
  EXPECT_EQ(ReadFile(), expected);
  EXPECT_EQ(ReadFile()[628], before[628]);

  // Default text 2 is 39 characters: a single zero byte closes it, the next slot untouched.
  const auto loaded = LoadNamesAndMacros(GamePath(), files_, codePage_);
  EXPECT_EQ(loaded.macros[2], "***Snipers take overwatch positions!!!*");
  EXPECT_EQ(loaded.macros[3], std::string(39, 'L'));
  EXPECT_EQ(loaded.macros[4], "***I'm on point, cover me!!!****");
}

TEST_F(SaveTest, ACharacterOutsideTheCodePageWritesNothingAtAll) {
  const auto before = PatternFile();
  WriteFile(before);

  // The first four names are fine; the fifth holds a Cyrillic letter that 1252 lacks.
  const SaveOutcome names =
      SaveNames(GamePath(), Names("Ann", "Bob", "Cid", "Dee", "\xD0\x96uk"), files_, codePage_);
  auto macros = DefaultTexts();
  macros[0] = "\xE2\x88\x92";  // U+2212 MINUS SIGN: best fit would give "-", we refuse
  const SaveOutcome messages = SaveMacros(GamePath(), macros, files_, codePage_);

  EXPECT_FALSE(names.saved);
  EXPECT_EQ(names.message, "Can't save names!");
  EXPECT_FALSE(messages.saved);
  EXPECT_EQ(messages.message, "Can't save messages!");
  EXPECT_EQ(ReadFile(), before);
}

TEST_F(SaveTest, AMissingPlayerFileIsCreatedAndEndsAtTheLastFieldsSecondZeroByte) {
  ASSERT_TRUE(SaveNames(GamePath(), Names("A", "B", "C", "D", "E"), files_, codePage_).saved);

  auto file = ReadFile();
  ASSERT_EQ(file.size(), 8444u + 3);
  std::vector<std::uint8_t> expected(8447, 0);
  for (int k = 0; k < kNameSlots; ++k) expected[12 + 2108 * static_cast<std::size_t>(k)] = 'A' + k;
  EXPECT_EQ(file, expected);

  // Saving twice writes the same bytes again; the file does not grow.
  ASSERT_TRUE(SaveNames(GamePath(), Names("A", "B", "C", "D", "E"), files_, codePage_).saved);
  EXPECT_EQ(ReadFile(), expected);

  std::filesystem::remove(PlayerFile());
  ASSERT_TRUE(SaveMacros(GamePath(), DefaultTexts(), files_, codePage_).saved);
  EXPECT_EQ(ReadFile().size(), 588u + 20 + 2);  // "***I need a medic***" and its terminator
}

TEST_F(SaveTest, NoGameFolderOrNoWritableFileFailsAndWritesNothing) {
  // An empty game folder must not turn into "\plyr.sav" in the drive's root.
  EXPECT_EQ(SaveNames("", Names("A", "", "", "", ""), files_, codePage_).message, "Can't save names!");
  EXPECT_EQ(SaveMacros("", DefaultTexts(), files_, codePage_).message, "Can't save messages!");

  const std::string missingFolder = GamePath() + "/no-such-folder";
  EXPECT_FALSE(SaveNames(missingFolder, Names("A", "", "", "", ""), files_, codePage_).saved);
  EXPECT_FALSE(std::filesystem::exists(missingFolder));

  // A folder where the file should be cannot be opened for writing.
  std::filesystem::create_directory(PlayerFile());
  EXPECT_EQ(SaveMacros(GamePath(), DefaultTexts(), files_, codePage_).message, "Can't save messages!");
  EXPECT_TRUE(std::filesystem::is_directory(PlayerFile()));
}

// A writer that fails from its n-th write on, to see a save stop at the first failure.
class FailingWriter final : public FileWriter {
 public:
  explicit FailingWriter(int failFrom, int& writes) : failFrom_(failFrom), writes_(writes) {}
  Status WriteAt(std::uint64_t, std::span<const std::uint8_t>) override {
    return ++writes_ >= failFrom_ ? Status::Failed(28) : Status::Ok();
  }
  Status Close() override { return Status::Ok(); }

 private:
  int failFrom_;
  int& writes_;
};

class FailingFiles final : public FileAccess {
 public:
  explicit FailingFiles(int failFrom) : failFrom_(failFrom) {}
  Result<Bytes> ReadWholeFile(const std::string&) override { return OsError{5}; }
  Result<std::unique_ptr<FileWriter>> OpenForWrite(const std::string&) override {
    return std::unique_ptr<FileWriter>(std::make_unique<FailingWriter>(failFrom_, writes));
  }
  int writes = 0;

 private:
  int failFrom_;
};

TEST(SaveFailureTest, AWriteErrorStopsTheSaveAndReportsIt) {
  Windows1252 codePage;
  FailingFiles diskFull(3);
  EXPECT_EQ(SaveNames("C:\\Games", Names("A", "B", "C", "D", "E"), diskFull, codePage).message,
            "Can't save names!");
  EXPECT_EQ(diskFull.writes, 3);  // no field after the failing one is attempted

  const NamesAndMacros loaded = LoadNamesAndMacros("C:\\Games", diskFull, codePage);
  for (const auto& name : loaded.names) EXPECT_EQ(name, "");
  for (const auto& macro : loaded.macros) EXPECT_EQ(macro, "");
}

}  // namespace
}  // namespace velquin
