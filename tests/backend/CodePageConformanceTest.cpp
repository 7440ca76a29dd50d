#include "backend/BackendFixture.h"

namespace velquin {
namespace {

using CodePageConformance = testing::BackendTest;

// Both backends must agree with Windows' own code page 1252 (the test prefix's ANSI code page).
TEST_F(CodePageConformance, EveryByteIsOneCharacterAndBack) {
  const CodePage& cp = *os_.codePage;
  for (int byte = 1; byte < 256; ++byte) {
    const char32_t ch = cp.ByteToChar(static_cast<std::uint8_t>(byte));
    EXPECT_EQ(cp.CharToByte(ch), byte) << "byte " << byte;
  }
  EXPECT_EQ(cp.ByteToChar(0x80), U'\u20AC');
  EXPECT_EQ(cp.ByteToChar(0x9F), U'\u0178');
  EXPECT_EQ(cp.ByteToChar(0xE9), U'\u00E9');
  for (char32_t undefined : {U'\u0081', U'\u008D', U'\u008F', U'\u0090', U'\u009D'}) {
    EXPECT_EQ(cp.ByteToChar(static_cast<std::uint8_t>(undefined)), undefined);
  }
}

TEST_F(CodePageConformance, CharactersOutsideTheCodePageHaveNoByteNotEvenABestFit) {
  const CodePage& cp = *os_.codePage;
  // U+0100 and U+2212 have best fits "A" and "-"; U+FF21 is a fullwidth "A".
  for (char32_t ch : {U'\u0100', U'\u2212', U'\uFF21', U'\u0416', U'\u4E2D', U'\U0001F600', U'\uFFFD'}) {
    EXPECT_FALSE(cp.CharToByte(ch)) << "U+" << std::hex << static_cast<std::uint32_t>(ch);
  }
}

}  // namespace
}  // namespace velquin
