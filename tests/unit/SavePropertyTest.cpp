#include <gtest/gtest.h>

#include "support/SaveModel.h"

namespace velquin {
namespace {

using namespace std::literals;

// What the player file's fuzz corpus does not hold, held against the same model of the layout:
// a zero character, which would end the text early in the game's eyes, is refused like any
// character the code page lacks, and nothing is written.
TEST(SavePropertyTest, AZeroCharacterIsRefusedLikeAnyCharacterTheCodePageLacks) {
  const testing::SaveCase c{.names = true, .before = Bytes(11000, 7), .texts = {"Ann", "B\0b"s, "", "", ""}};
  EXPECT_EQ(testing::CheckSaveAndLoad(c), "");
}

}  // namespace
}  // namespace velquin
