#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/Services.h"

namespace velquin::testing {

// The services of whichever backend this build has, and a scratch folder of its own.
class BackendTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(scratch_); }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
  }

  // A path inside the scratch folder as the backend takes it (UTF-8, the system's form).
  std::string PathOf(const std::string& name) const {
    const std::u8string text = (scratch_ / name).u8string();
    return std::string(text.begin(), text.end());
  }

  PlatformServices os_ = MakePlatformServices();
  std::filesystem::path scratch_ =
      std::filesystem::temp_directory_path() / ("velquin-backend-" + std::to_string(std::random_device{}()));
};

}  // namespace velquin::testing
