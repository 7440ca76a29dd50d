#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Services.h"

namespace velquin::testing {

// The services of whichever backend this build has, and a scratch folder of its own.
class BackendTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A path inside the scratch folder as the backend takes it (UTF-8, the system's form).
  std::string PathOf(const std::string& name) const;

  PlatformServices os_ = MakePlatformServices();
  std::filesystem::path scratch_;
};

}  // namespace velquin::testing
