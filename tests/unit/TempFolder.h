#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace velquin::testing {

// A fresh temporary folder of the test's own, removed afterwards.
class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "velquin-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  // Makes the folders above it as needed.
  void Write(const std::filesystem::path& name, const std::string& bytes) const {
    std::filesystem::create_directories((folder_ / name).parent_path());
    std::ofstream(folder_ / name, std::ios::binary | std::ios::trunc) << bytes;
  }

  // A Wine prefix's C: drive: the dosdevices link Wine reaches it by, to the drive_c returned,
  // which callers make as they fill it.
  static std::filesystem::path MakeDriveC(const std::filesystem::path& prefix) {
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    return prefix / "drive_c";
  }

  std::filesystem::path folder_;
};

}  // namespace velquin::testing
