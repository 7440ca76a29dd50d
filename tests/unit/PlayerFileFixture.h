#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/posix/PosixFileAccess.h"
#include "platform/posix/Windows1252.h"

namespace velquin::testing {

// A game folder of its own in a fresh temporary directory, with helpers to lay down and
// read back plyr.sav byte by byte.
class PlayerFileFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "velquin-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string GamePath() const { return folder_.string(); }
  std::filesystem::path PlayerFile() const { return folder_ / "plyr.sav"; }

  void WriteFile(const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(PlayerFile(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::vector<std::uint8_t> ReadFile() const {
    std::ifstream in(PlayerFile(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  PosixFileAccess files_{"/nonexistent-wine-prefix"};
  Windows1252 codePage_;
  std::filesystem::path folder_;
};

// A realistic player file: 5 records of 2108 bytes behind a 12-byte header, filled with a
// pattern that has no zero byte, so any stray write shows.
inline std::vector<std::uint8_t> PatternFile(std::size_t size = 12 + 5 * 2108) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(1 + i % 251);
  return bytes;
}

inline void Put(std::vector<std::uint8_t>& file, std::size_t offset, const std::string& text) {
  std::copy(text.begin(), text.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace velquin::testing
