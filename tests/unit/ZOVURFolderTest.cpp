#include <gtest/gtest.h>

#include "ZOVURFolder/ZOVURFolder.h"
#include "unit/FakeRegistry.h"
#include "wine/Windows1252.h"

namespace velquin {
namespace {

using namespace std::literals;

TEST(ZOVURFolderTest, EveryFailedLookupIsTheEmptyFolderAndTheKeyIsClosedAgain) {
  testing::FakeRegistry registry;
  const Windows1252 codePage;
  EXPECT_EQ(LookUpGameFolder(registry, codePage), "");  // value missing
  registry.path = "C:\\DF\0"s;
  EXPECT_EQ(LookUpGameFolder(registry, codePage), "C:\\DF");
  registry.openStatus = 5;  // access denied
  EXPECT_EQ(LookUpGameFolder(registry, codePage), "");
  EXPECT_EQ(registry.openKeys, 0);
}

}  // namespace
}  // namespace velquin
