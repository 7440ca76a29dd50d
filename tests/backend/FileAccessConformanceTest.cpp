#include <fstream>

#include "backend/BackendFixture.h"
#include "core/Saves.h"
#include "core/StartupLoad.h"

namespace velquin {
namespace {

using namespace std::literals;

using FileAccessConformance = testing::BackendTest;

Bytes B(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

TEST_F(FileAccessConformance, WritesArePositionedAndNeverTruncate) {
  FileAccess& files = *os_.files;
  const std::string path = PathOf("f.bin");
  EXPECT_NE(files.ReadWholeFile(path).code(), 0u);  // no file yet: the system's error

  {
    auto writer = files.OpenForWrite(path);
    ASSERT_TRUE(writer.ok());
    EXPECT_EQ(files.ReadWholeFile(path).value(), Bytes());  // created empty at once
    ASSERT_TRUE(writer.value()->WriteAt(5, B("ab")).ok());
    ASSERT_TRUE(writer.value()->Close().ok());
  }
  EXPECT_EQ(files.ReadWholeFile(path).value(), B("\0\0\0\0ab"sv));
  {
    auto writer = files.OpenForWrite(path);
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer.value()->WriteAt(1, B("Z")).ok());
    // Closed by its owner on the way out, without an explicit Close.
  }
  EXPECT_EQ(files.ReadWholeFile(path).value(), B("Z\0\0\0ab"sv));

  EXPECT_FALSE(files.OpenForWrite(PathOf("missing-folder/f.bin")).ok());
  EXPECT_FALSE(files.ReadWholeFile(PathOf("")).ok());  // a folder is no file
}

TEST_F(FileAccessConformance, AReadOnlyPlayerFileRefusesTheSaveAndKeepsItsBytes) {
  // The script makes this folder's plyr.sav immutable (root ignores permission bits).
  const char* folder = std::getenv("VELQUIN_READONLY_GAME_FOLDER");
  if (!folder) GTEST_SKIP() << "VELQUIN_READONLY_GAME_FOLDER not prepared";
  const std::string gamePath = folder;
  const Result<Bytes> before = os_.files->ReadWholeFile(gamePath + "\\plyr.sav");
  ASSERT_TRUE(before.ok());

  const NamesAndMacros loaded = LoadNamesAndMacros(gamePath, *os_.files, *os_.codePage);
  EXPECT_EQ(loaded.names[0], "Locked");
  EXPECT_EQ(SaveNames(gamePath, {"Other", "", "", "", ""}, *os_.files, *os_.codePage).message,
            "Can't save names!");
  EXPECT_EQ(SaveMacros(gamePath, loaded.macros, *os_.files, *os_.codePage).message, "Can't save messages!");
  EXPECT_EQ(os_.files->ReadWholeFile(gamePath + "\\plyr.sav").value(), before.value());
}

}  // namespace
}  // namespace velquin
