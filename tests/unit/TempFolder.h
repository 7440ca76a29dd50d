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
  void Write(const std::filesystem::path& name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary | std::ios::trunc) << bytes;
  }

  std::filesystem::path folder_;
};

}  // namespace velquin::testing
