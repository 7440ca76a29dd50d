#include <gtest/gtest.h>

#include "core/FieldText.h"
#include "platform/posix/Windows1252.h"

namespace velquin {
namespace {

using namespace std::literals;

Bytes B(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

TEST(FieldTextTest, EncodingCutsToTheLimitAndClipsTheTerminatorToTheSlot) {
  const Windows1252 cp;
  EXPECT_EQ(EncodeFieldText("", kNameField, cp), B("\0\0"sv));
  EXPECT_EQ(EncodeFieldText(std::string(15, 'a'), kNameField, cp),
            B(std::string(15, 'a') + std::string(2, '\0')));
  EXPECT_EQ(EncodeFieldText(std::string(16, 'a'), kNameField, cp),
            B(std::string(15, 'a') + std::string(2, '\0')));
  EXPECT_EQ(EncodeFieldText(std::string(38, 'm'), kMacroField, cp),
            B(std::string(38, 'm') + std::string(2, '\0')));
  EXPECT_EQ(EncodeFieldText(std::string(39, 'm'), kMacroField, cp),
            B(std::string(39, 'm') + std::string(1, '\0')));
  EXPECT_EQ(EncodeFieldText(std::string(101, 'm'), kMacroField, cp),
            B(std::string(39, 'm') + std::string(1, '\0')));
  // The limit counts characters, not UTF-8 bytes: fifteen é are fifteen bytes.
  std::string accents;
  for (int i = 0; i < 16; ++i) accents += "\xC3\xA9";
  EXPECT_EQ(EncodeFieldText(accents, kNameField, cp), B(std::string(15, '\xE9') + std::string(2, '\0')));
}

TEST(FieldTextTest, EncodingRefusesWhatNoSingleByteHolds) {
  const Windows1252 cp;
  EXPECT_EQ(EncodeFieldText("ok\xE2\x82\xAC", kNameField, cp), B("ok\x80" + std::string(2, '\0')));
  EXPECT_FALSE(EncodeFieldText("\xEF\xBC\xA1", kNameField, cp));      // fullwidth A: no best fit
  EXPECT_FALSE(EncodeFieldText("\xF0\x9F\x98\x80", kNameField, cp));  // emoji
  EXPECT_FALSE(EncodeFieldText("a\0b"s, kNameField, cp));             // a zero inside the text
  EXPECT_FALSE(EncodeFieldText("bad \xFF utf-8", kNameField, cp));    // not text at all
  // A refused character past the cut does not matter: it is never written.
  EXPECT_TRUE(EncodeFieldText(std::string(15, 'a') + "\xE4\xB8\xAD", kNameField, cp));
}

TEST(FieldTextTest, ReadingStopsAtZeroOrTheEndOfTheFile) {
  const Windows1252 cp;
  const Bytes file = B("ab\0cd"s);
  EXPECT_EQ(ReadFieldText(file, 1, cp), "ab");
  EXPECT_EQ(ReadFieldText(file, 3, cp), "");
  EXPECT_EQ(ReadFieldText(file, 4, cp), "cd");
  EXPECT_EQ(ReadFieldText(file, 6, cp), "");
  EXPECT_EQ(ReadFieldText(file, 9000, cp), "");
  EXPECT_EQ(ReadFieldText(B("\x81\x9F"), 1, cp), "\xC2\x81\xC5\xB8");  // U+0081, U+0178
}

}  // namespace
}  // namespace velquin
