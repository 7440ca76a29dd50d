#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/CodePage.h"

namespace velquin {

// A single-byte Windows ANSI code page (874, 1250 to 1258), byte for byte as Windows maps it,
// through the C library's iconv. Its 256 characters are worked out once, when it is opened;
// every conversion after that is a table lookup. Strict both ways: a character the code page
// lacks has no byte, never "?" or a best fit.
class IconvCodePage final : public CodePage {
 public:
  // Nothing for a code page not among those, or one this system's iconv cannot convert.
  static std::unique_ptr<IconvCodePage> Open(int number);
  // Whether the number is among those code pages, whatever iconv can do.
  static bool Knows(int number);

  int number() const { return number_; }
  char32_t ByteToChar(std::uint8_t byte) const override;
  std::optional<std::uint8_t> CharToByte(char32_t ch) const override;

 private:
  IconvCodePage(int number, const std::array<char32_t, 256>& chars);

  int number_;
  std::array<char32_t, 256> chars_;
  std::array<std::pair<char32_t, std::uint8_t>, 256> bytes_;  // by character, for a binary search
};

}  // namespace velquin
