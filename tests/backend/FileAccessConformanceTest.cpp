#include <array>
#include <filesystem>
#include <fstream>
#include <optional>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

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

TEST_F(FileAccessConformance, WritesArePositionedNeverTruncateAndShowAtTheCommit) {
  FileAccess& files = *os_.files;
  const std::string path = PathOf("f.bin");
  EXPECT_NE(files.OpenForRead(path).code(), 0u);  // no file yet: the system's error

  {
    auto writer = files.OpenForWrite(path);
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer.value()->WriteAt(5, B("ab")).ok());
    EXPECT_FALSE(files.OpenForRead(path).ok());  // a new file appears whole, at its commit
    ASSERT_TRUE(writer.value()->Commit().ok());
  }
  EXPECT_EQ(Contents(files, path), B("\0\0\0\0ab"sv));
  {
    auto writer = files.OpenForWrite(path);
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer.value()->WriteAt(1, B("Z")).ok());
    EXPECT_EQ(Contents(files, path), B("\0\0\0\0ab"sv));
    ASSERT_TRUE(writer.value()->Commit().ok());
  }
  EXPECT_EQ(Contents(files, path), B("Z\0\0\0ab"sv));
  {
    auto writer = files.OpenForWrite(path);
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer.value()->WriteAt(7, B("c")).ok());
    // Let go without a commit: abandoned.
  }
  EXPECT_EQ(Contents(files, path), B("Z\0\0\0ab"sv));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_), {}), 1);  // no copy left

  EXPECT_FALSE(files.OpenForWrite(PathOf("missing-folder/f.bin")).ok());
  EXPECT_FALSE(files.OpenForRead(PathOf("")).ok());  // a folder is no file
}

// Player files that a save replaces by a copy must stay what they are to the system: the file a
// link leads to, a second name, owner and mode, a sparse size. "Ann" lands as the first name.
TEST_F(FileAccessConformance, ASaveKeepsWhatThePlayerFileIsAndLeavesNoCopy) {
  namespace fs = std::filesystem;
  const std::string stored(12 + 5 * 2108, 'x');
  const std::array<std::string, kNameSlots> names = {"Ann", "", "", "", ""};
  auto saved = [&](const std::string& folder, const fs::path& file) {
    EXPECT_TRUE(SaveNames(PathOf(folder), names, *os_.files, *os_.codePage).saved);
    std::string got(16, '\0');
    std::ifstream(file, std::ios::binary).read(got.data(), 16);
    EXPECT_EQ(got, "xxxxxxxxxxxxAnn\0"s);
  };
  // A copy that a killed save left under its passing name goes with the next save.
  Store(scratch_ / "left" / "plyr.sav", stored);
  Store(scratch_ / "left" / ".velquin-save-00000000deadbeef", stored);
  saved("left", scratch_ / "left" / "plyr.sav");
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch_ / "left"), {}), 1);
#ifndef _WIN32
  // A link keeps leading to the same file, which now holds the new name.
  Store(scratch_ / "real" / "plyr.sav", stored);
  fs::create_directories(scratch_ / "link");
  fs::create_symlink("../real/plyr.sav", scratch_ / "link" / "plyr.sav");
  saved("link", scratch_ / "real" / "plyr.sav");
  EXPECT_EQ(fs::read_symlink(scratch_ / "link" / "plyr.sav"), "../real/plyr.sav");
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch_ / "link"), {}), 1);
  // Owner and mode as they were, on a new file: a copy took the old one's place.
  const fs::path owned = scratch_ / "owned" / "plyr.sav";
  Store(owned, stored);
  ASSERT_EQ(::chown(owned.c_str(), 4321, 8765), 0);
  ASSERT_EQ(::chmod(owned.c_str(), 0640), 0);
  struct stat before {
  }, after{};
  ASSERT_EQ(::stat(owned.c_str(), &before), 0);
  saved("owned", owned);
  ASSERT_EQ(::stat(owned.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_uid, 4321u);
  EXPECT_EQ(after.st_gid, 8765u);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  // A second name still shares the file: patched in place.
  Store(scratch_ / "hard" / "plyr.sav", stored);
  fs::create_hard_link(scratch_ / "hard" / "plyr.sav", scratch_ / "hard" / "second");
  saved("hard", scratch_ / "hard" / "second");
  EXPECT_EQ(fs::hard_link_count(scratch_ / "hard" / "plyr.sav"), 2u);
  // 1 GiB on paper takes no more disk after the save than its data.
  const fs::path sparse = scratch_ / "sparse" / "plyr.sav";
  Store(sparse, stored);
  fs::resize_file(sparse, 1ull << 30);
  saved("sparse", sparse);
  ASSERT_EQ(::stat(sparse.c_str(), &after), 0);
  EXPECT_EQ(after.st_size, 1ll << 30);
  EXPECT_LT(after.st_blocks * 512, 1 << 20);
#endif
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
  EXPECT_FALSE(SaveNames(gamePath, {"Other", "", "", "", ""}, *os_.files, *os_.codePage).saved);
  EXPECT_FALSE(SaveMacros(gamePath, loaded.macros, *os_.files, *os_.codePage).saved);
  EXPECT_EQ(Contents(*os_.files, gamePath + "\\plyr.sav"), before);
}

TEST_F(FileAccessConformance, ASaveOnAFullDiskWritesNothingAndLeavesNoFileBehind) {
  // The script fills a small file system that holds these game folders.
  const char* folder = std::getenv("VELQUIN_FULL_DISK_FOLDER");
  if (!folder) GTEST_SKIP() << "VELQUIN_FULL_DISK_FOLDER not prepared";
  const std::string full = folder;
  const std::array<std::string, kNameSlots> names = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};

  EXPECT_FALSE(SaveNames(full + "\\none", names, *os_.files, *os_.codePage).saved);
  EXPECT_FALSE(os_.files->OpenForRead(full + "\\none\\plyr.sav").ok());  // none was made
  EXPECT_FALSE(SaveNames(full + "\\short", names, *os_.files, *os_.codePage).saved);
  EXPECT_EQ(Contents(*os_.files, full + "\\short\\plyr.sav"), B("eleven byte"));
  // Names 0 and 1 lie inside this one, names 2 to 4 past its end.
  EXPECT_FALSE(SaveNames(full + "\\part", names, *os_.files, *os_.codePage).saved);
  EXPECT_EQ(Contents(*os_.files, full + "\\part\\plyr.sav"), Bytes(4000, 1));
}

TEST_F(FileAccessConformance, AFolderThatTakesNoNewFileOrNoSpaceAheadStillSaves) {
  // The script makes the first folder immutable and the second a FUSE mount (bindfs) that
  // refuses fallocate; each holds an 11-byte plyr.sav, all five names past its end.
  const char* sealed = std::getenv("VELQUIN_SEALED_GAME_FOLDER");
  const char* fuse = std::getenv("VELQUIN_NO_FALLOCATE_FOLDER");
  if (!sealed || !fuse)
    GTEST_SKIP() << "VELQUIN_SEALED_GAME_FOLDER or VELQUIN_NO_FALLOCATE_FOLDER not prepared";
  for (const std::string folder : {sealed, fuse}) {
    SCOPED_TRACE(folder);
    EXPECT_TRUE(SaveNames(folder, {"Ann", "", "", "", "Eve"}, *os_.files, *os_.codePage).saved);
    const std::optional<Bytes> after = Contents(*os_.files, folder + "\\plyr.sav");
    ASSERT_TRUE(after);
    EXPECT_EQ(Bytes(after->begin(), after->begin() + 17), B("eleven byte\0Ann\0\0"sv));
    EXPECT_EQ(after->size(), 8449u);
  }
}

// One save for tests/backend/run_conformance.sh to kill after each of its system calls.
TEST_F(FileAccessConformance, SaveOnce) {
  const char* folder = std::getenv("VELQUIN_SAVE_ONCE_FOLDER");
  if (!folder) GTEST_SKIP() << "VELQUIN_SAVE_ONCE_FOLDER not prepared";
  EXPECT_TRUE(SaveNames(folder, {"N0", "N1", "N2", "N3", "N4"}, *os_.files, *os_.codePage).saved);
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
