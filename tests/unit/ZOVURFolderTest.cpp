#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "ZOVURFolder/ZOVURFolder.h"
#include "platform/posix/Windows1252.h"
#include "unit/FakeRegistry.h"

namespace velquin {
namespace {

using namespace std::literals;

class ZOVURFolderTest : public ::testing::Test {
 protected:
  std::int32_t Query(const std::string& name, std::optional<std::string>& value) {
    RegistryKey key = 0;
    EXPECT_EQ(registry.OpenKey(kLocalMachine, kGameKeyName, kKeyRead, key), kRegOk);
    const std::int32_t status = QueryValueData(registry, codePage, key, name, value);
    registry.CloseKey(key);
    return status;
  }

  testing::FakeRegistry registry;
  Windows1252 codePage;
};

TEST_F(ZOVURFolderTest, AStringPathIsTheGameFolderAsStored) {
  registry.values["Path"] = {kRegString, "C:\\Spiele\\DF\xE9\\\0"s};
  EXPECT_EQ(LookUpGameFolder(registry, codePage), "C:\\Spiele\\DF\xC3\xA9\\");  // trailing "\" kept
  EXPECT_EQ(registry.lastAccess, 0x20219u);  // KEY_READ in the 32-bit view, nothing more
  EXPECT_EQ(registry.openKeys, 0);           // and the key closed again

  // The lookup runs afresh each time: a changed value shows at once.
  registry.values["Path"] = {kRegString, "D:\\DF\0"s};
  EXPECT_EQ(LookUpGameFolder(registry, codePage), "D:\\DF");
}

TEST_F(ZOVURFolderTest, QueryValueDataGivesTheStatusCodesOfEachFailure) {
  registry.values["Path"] = {kRegString, "C:\\DF\0"s};
  registry.values["Expand"] = {kRegExpandString, "%ProgramFiles%\\DF\0"s};
  registry.values["Number"] = {kRegDword, "\1\0\0\0"s};
  registry.values["Empty"] = {kRegString, "\0"s};
  registry.values["NoData"] = {kRegString, std::string()};
  registry.values["Unterminated"] = {kRegString, std::string("C:\\DFx")};

  std::optional<std::string> value;
  EXPECT_EQ(Query("Path", value), 0);
  EXPECT_EQ(value, "C:\\DF");

  for (const char* name : {"Expand", "Number"}) {
    value.reset();
    EXPECT_EQ(Query(name, value), kUnsupportedValueType) << name;
    EXPECT_FALSE(value) << name;
  }
  value.reset();
  EXPECT_EQ(Query("Missing", value), kRegFileNotFound);
  EXPECT_FALSE(value);

  value.reset();
  EXPECT_EQ(Query("Empty", value), 0);
  EXPECT_EQ(value, "");
  // A zero-length value has no terminator to drop: the read stops with the query's own status.
  value.reset();
  EXPECT_EQ(Query("NoData", value), 0);
  EXPECT_FALSE(value);
  // Without its terminator the last character is taken for it, as the size counts it.
  value.reset();
  EXPECT_EQ(Query("Unterminated", value), 0);
  EXPECT_EQ(value, "C:\\DF");
}

TEST_F(ZOVURFolderTest, EveryFailedLookupIsTheEmptyFolder) {
  EXPECT_EQ(LookUpGameFolder(registry, codePage), "");  // value missing

  registry.values["Path"] = {kRegExpandString, "C:\\DF\0"s};
  EXPECT_EQ(LookUpGameFolder(registry, codePage), "");

  registry.values["Path"] = {kRegString, "C:\\DF\0"s};
  registry.openStatus = 5;  // access denied
  EXPECT_EQ(LookUpGameFolder(registry, codePage), "");
  EXPECT_FALSE(ReadRegistryValue(registry, codePage, kLocalMachine, kGameKeyName, "Path"));

  registry.openStatus = kRegOk;
  EXPECT_FALSE(ReadRegistryValue(registry, codePage, kLocalMachine, "SOFTWARE\\Other", "Path"));
  EXPECT_EQ(registry.openKeys, 0);
}

}  // namespace
}  // namespace velquin
