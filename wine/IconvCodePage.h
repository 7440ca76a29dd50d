#pragma once

#include <array>
#include <memory>
#include <vector>

#include "platform/CodePageTable.h"

namespace velquin {

// A single-byte Windows ANSI code page (874, 1250 to 1258), byte for byte as Windows maps it,
// through the C library's iconv. Its 256 characters are worked out once, when it is opened;
// every conversion after that is a table lookup. Strict both ways: a character the code page
// lacks has no byte, never "?" or a best fit.
class IconvCodePage final : public CodePageTable {
 public:
  // Nothing for a code page not among those, or one this system's iconv cannot convert.
  static std::unique_ptr<IconvCodePage> Open(int number);
  // Whether the number is among those code pages, whatever iconv can do.
  static bool Knows(int number);
  // Their numbers, in ascending order.
  static std::vector<int> Known();

 private:
  explicit IconvCodePage(const std::array<char32_t, 256>& chars) : CodePageTable(chars) {}
};

}  // namespace velquin
