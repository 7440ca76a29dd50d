#include <gtest/gtest.h>

#include "ZOVURFolder/ZOVURFolder.h"
#include "platform/posix/Windows1252.h"
#include "unit/FakeRegistry.h"

namespace velquin {
namespace {

using namespace std::literals;

class ZOVURFolderTest : public ::testing::Test {
 protected:
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
