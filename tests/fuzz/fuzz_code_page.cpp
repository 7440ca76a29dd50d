// The code page conversions and the Unicode helpers, both ways. Properties: every byte is one
// character and back; a character the code page takes comes back as itself (nothing it lacks
// is accepted, not even by best fit); UTF-8 and UTF-16 round trips keep every character.
#include <cstring>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"
#include "wine/Windows1252.h"

using namespace velquin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Windows1252 cp;
  const std::string input(reinterpret_cast<const char*>(data), size);

  const std::u32string fromBytes = DecodeUtf8(BytesToText(cp, {data, size}));
  fuzz::Check(fromBytes.size() == size, "not one character per byte");
  for (std::size_t i = 0; i < size; ++i) {
    fuzz::Check(cp.CharToByte(fromBytes[i]) == data[i], "a byte does not come back");
  }

  const std::u32string chars = DecodeUtf8(input);
  for (char32_t ch : chars) {
    const auto byte = cp.CharToByte(ch);
    if (byte) fuzz::Check(cp.ByteToChar(*byte) == ch, "a character came back as another");
  }
  fuzz::Check(DecodeUtf8(EncodeUtf8(chars)) == chars, "UTF-8 round trip");

  std::u16string units;
  for (char32_t ch : chars) AppendUtf16(units, ch);
  std::u32string back;
  for (std::size_t i = 0; i < units.size();) back.push_back(NextUtf16(units, i));
  fuzz::Check(back == chars, "UTF-16 round trip");

  // Raw units, lone surrogates and all: each is taken once, none is lost.
  std::u16string raw(size / 2, u'\0');
  std::memcpy(raw.data(), data, raw.size() * sizeof(char16_t));
  std::size_t taken = 0;
  for (std::size_t i = 0; i < raw.size();) {
    const std::size_t at = i;
    const char32_t ch = NextUtf16(raw, i);
    fuzz::Check(i == at + (ch >= 0x10000 ? 2 : 1), "a unit was swallowed");
    ++taken;
  }
  fuzz::Check(taken <= raw.size(), "more characters than units");
  return 0;
}
