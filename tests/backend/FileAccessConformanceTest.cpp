#include <array>
#include <filesystem>
#include <fstream>
#include <optional>

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

// The whole of a small file as the backend reads it; nothing when it cannot be opened.
std::optional<Bytes> Contents(FileAccess& files, const std::string& path) {
  auto reader = files.OpenForRead(path);
  if (!reader.ok()) return std::nullopt;
  Bytes all;
  std::uint8_t chunk[5];
  for (;;) {
    const Result<std::size_t> got = reader.value()->ReadAt(all.size() + 1, chunk);
    if (!got.ok() || got.value() == 0) return all;
    all.insert(all.end(), chunk, chunk + got.value());
  }
}

void Store(const std::filesystem::path& file, const std::string& bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

TEST_F(FileAccessConformance, WritesArePositionedAndNeverTruncate) {
  FileAccess& files = *os_.files;
  const std::string path = PathOf("f.bin");
  EXPECT_NE(files.OpenForRead(path).code(), 0u);  // no file yet: the system's error

  {
    auto writer = files.OpenForWrite(path);
    ASSERT_TRUE(writer.ok());
    EXPECT_EQ(Contents(files, path), Bytes());  // created empty at once
    ASSERT_TRUE(writer.value()->WriteAt(5, B("ab")).ok());
    ASSERT_TRUE(writer.value()->Close().ok());
  }
  EXPECT_EQ(Contents(files, path), B("\0\0\0\0ab"sv));
  {
    auto writer = files.OpenForWrite(path);
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer.value()->WriteAt(1, B("Z")).ok());
    // Closed by its owner on the way out, without an explicit Close.
  }
  EXPECT_EQ(Contents(files, path), B("Z\0\0\0ab"sv));

  EXPECT_FALSE(files.OpenForWrite(PathOf("missing-folder/f.bin")).ok());
  EXPECT_FALSE(files.OpenForRead(PathOf("")).ok());  // a folder is no file
}

TEST_F(FileAccessConformance, AReadOnlyPlayerFileRefusesTheSaveAndKeepsItsBytes) {
  // The script makes this folder's plyr.sav immutable (root ignores permission bits).
  const char* folder = std::getenv("VELQUIN_READONLY_GAME_FOLDER");
  if (!folder) GTEST_SKIP() << "VELQUIN_READONLY_GAME_FOLDER not prepared";
  const std::string gamePath = folder;
  const std::optional<Bytes> before = Contents(*os_.files, gamePath + "\\plyr.sav");
  ASSERT_TRUE(before);

  const NamesAndMacros loaded = LoadNamesAndMacros(gamePath, *os_.files, *os_.codePage);
  EXPECT_EQ(loaded.names[0], "Locked");
  EXPECT_EQ(SaveNames(gamePath, {"Other", "", "", "", ""}, *os_.files, *os_.codePage).message,
            "Can't save names!");
  EXPECT_EQ(SaveMacros(gamePath, loaded.macros, *os_.files, *os_.codePage).message, "Can't save messages!");
  EXPECT_EQ(Contents(*os_.files, gamePath + "\\plyr.sav"), before);
}

TEST_F(FileAccessConformance, ASaveOnAFullDiskWritesNothingAndLeavesNoFileBehind) {
  // The script fills a small file system that holds these game folders.
  const char* folder = std::getenv("VELQUIN_FULL_DISK_FOLDER");
  if (!folder) GTEST_SKIP() << "VELQUIN_FULL_DISK_FOLDER not prepared";
  const std::string full = folder;
  const std::array<std::string, kNameSlots> names = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};

  EXPECT_EQ(SaveNames(full + "\\none", names, *os_.files, *os_.codePage).message, "Can't save names!");
  EXPECT_FALSE(os_.files->OpenForRead(full + "\\none\\plyr.sav").ok());  // none was made
  EXPECT_EQ(SaveNames(full + "\\short", names, *os_.files, *os_.codePage).message, "Can't save names!");
  EXPECT_EQ(Contents(*os_.files, full + "\\short\\plyr.sav"), B("eleven byte"));
  // Names 0 and 1 lie inside this one, names 2 to 4 past its end.
  EXPECT_EQ(SaveNames(full + "\\part", names, *os_.files, *os_.codePage).message, "Can't save names!");
  EXPECT_EQ(Contents(*os_.files, full + "\\part\\plyr.sav"), Bytes(4000, 1));
}

TEST_F(FileAccessConformance, TheLoadReadsTheFieldsOfAHugeFileWhereTheyLie) {
  // 1 GiB on paper, sparse on the disk.
  std::string head(12 + 4 * 2108 + 8, '\0');
  head.replace(12, 5, "Alpha").replace(2120, 4, "Beta").replace(8444, 7, "Epsilon").replace(588, 3, "F10");
  Store(scratch_ / "big" / "plyr.sav", head);
  std::filesystem::resize_file(scratch_ / "big" / "plyr.sav", 1ull << 30);
  const NamesAndMacros big = LoadNamesAndMacros(PathOf("big"), *os_.files, *os_.codePage);
  EXPECT_EQ(big.names, (std::array<std::string, kNameSlots>{"Alpha", "Beta", "", "", "Epsilon"}));
  EXPECT_EQ(big.macros[9], "F10");

  // A field without a zero byte reads on, but no further than a text box holds.
  Store(scratch_ / "run" / "plyr.sav", std::string(70000, 'x'));
  const NamesAndMacros run = LoadNamesAndMacros(PathOf("run"), *os_.files, *os_.codePage);
  EXPECT_EQ(run.names[0], std::string(65535, 'x'));
  EXPECT_EQ(run.names[4], std::string(61556, 'x'));  // up to the end of the file
}

}  // namespace
}  // namespace velquin
