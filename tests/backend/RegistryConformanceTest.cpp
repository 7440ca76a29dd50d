#include <tuple>

#include "ZOVURFolder/ZOVURFolder.h"
#include "backend/BackendFixture.h"

namespace velquin {
namespace {

using RegistryConformance = testing::BackendTest;

// The script writes these values with Wine's own "reg add" into a prefix of its own; the
// Win32 backend reads them through the registry API, the POSIX one from system.reg.
TEST_F(RegistryConformance, TheGameEntryAndItsOddValues) {
  if (!std::getenv("VELQUIN_REGISTRY_FIXTURE")) GTEST_SKIP() << "VELQUIN_REGISTRY_FIXTURE not prepared";
  Registry& registry = *os_.registry;
  const CodePage& cp = *os_.codePage;

  RegistryKey key = 0;
  ASSERT_EQ(registry.OpenKey(kLocalMachine, kGameKeyName, kGameKeyAccess, key), kRegOk);
  const std::tuple<const char*, std::int32_t, std::optional<std::string>> cases[] = {
      {"Path", 0, std::string("C:\\Games\\DF \u00DCber\\")},  // trailing "\" kept
      {"PathExpand", kUnsupportedValueType, std::nullopt},
      {"PathDword", kUnsupportedValueType, std::nullopt},
      {"PathBinary", kUnsupportedValueType, std::nullopt},
      {"PathMissing", kRegFileNotFound, std::nullopt},
      {"PathEmpty", 0, std::string()},
      {"PathCyrillic", 0, std::string("C:\\?")},       // no byte for it: the ANSI call gives "?"
      {"PathNoData", 0, std::nullopt},                 // no terminator to drop: the read stops there
      {"PathUnterminated", 0, std::string("C:\\DF")},  // the last character is taken for it
  };
  for (const auto& [name, status, expected] : cases) {
    std::optional<std::string> value;
    EXPECT_EQ(QueryValueData(registry, cp, key, name, value), status) << name;
    EXPECT_EQ(value, expected) << name;
  }
  EXPECT_EQ(registry.CloseKey(key), kRegOk);

  // A 32-bit program does not see what lies only in the 64-bit view.
  EXPECT_FALSE(ReadRegistryValue(registry, cp, kLocalMachine, "SOFTWARE\\VelquinOnly64", "Path"));
  EXPECT_FALSE(ReadRegistryValue(registry, cp, kLocalMachine, "SOFTWARE\\VelquinNoSuchKey", "Path"));
}

}  // namespace
}  // namespace velquin
