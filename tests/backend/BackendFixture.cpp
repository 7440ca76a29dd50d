#include "backend/BackendFixture.h"

#include <random>

namespace velquin::testing {

void BackendTest::SetUp() {
  const auto name = "velquin-backend-" + std::to_string(std::random_device{}());
  scratch_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(scratch_);
}

void BackendTest::TearDown() {
  std::error_code ignored;
  std::filesystem::remove_all(scratch_, ignored);
}

std::string BackendTest::PathOf(const std::string& name) const {
  const std::u8string text = (scratch_ / name).u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace velquin::testing
