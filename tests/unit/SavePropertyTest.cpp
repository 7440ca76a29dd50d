#include <gtest/gtest.h>

#include "support/SaveModel.h"

namespace velquin {
namespace {

using namespace std::literals;

// The saves the player file's fuzz corpus does not hold, held against the same model of the
// layout: a zero character, which would end the text early in the game's eyes, is refused in
// a name and in a macro, and nothing is written.
TEST(SavePropertyTest, AZeroCharacterIsRefusedLikeAnyCharacterTheCodePageLacks) {
  const testing::SaveCase cases[] = {
      {.names = true, .before = Bytes(11000, 7), .texts = {"Ann", "B\0b"s, "", "", ""}},
      {.names = false,
       .before = Bytes(600, 7),
       .texts = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "\0"s}},
  };
  for (const testing::SaveCase& c : cases) EXPECT_EQ(testing::CheckSaveAndLoad(c), "") << c.names;
}

}  // namespace
}  // namespace velquin
