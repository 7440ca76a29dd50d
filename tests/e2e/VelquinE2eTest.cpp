// The real velquin.exe under Wine, driven from outside over the shared scenarios and save
// cases; run_e2e.sh runs it for both builds at 96 and 144 DPI.
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdlib>
#include <cstring>

#include "cases/Scenarios.h"
#include "e2e/VelquinApp.h"

namespace velquin::e2e {
namespace {

std::wstring Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::wstring(value, value + std::strlen(value)) : std::wstring();
}

class VelquinE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Env("VELQUIN_EXE").empty() || Env("VELQUIN_E2E_GAME").empty())
      GTEST_SKIP() << "VELQUIN_EXE and VELQUIN_E2E_GAME not prepared";
  }
  VelquinApp app_{Env("VELQUIN_EXE"), Env("VELQUIN_E2E_GAME"), Env("VELQUIN_ARTIFACTS")};
};

TEST_F(VelquinE2e, Scenarios) {
  cases::RunScenarios(app_);
}

TEST_F(VelquinE2e, EachSaveWritesExactlyItsBytesAndSaysSo) {
  cases::RunSaveCases(app_);
}

}  // namespace
}  // namespace velquin::e2e

int main(int argc, char** argv) {
  // Pixels as the program itself sees them, whatever the prefix's DPI.
  SetProcessDPIAware();
  CoInitialize(nullptr);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
