#pragma once

#include "platform/CodePage.h"

namespace velquin {

// Windows-1252, the Western code page, from the same iconv table as any prefix's own code page:
// the five bytes it leaves undefined map to the C1 controls U+0081, U+008D, U+008F, U+0090 and
// U+009D, as Windows maps them. All share one table, worked out when the first is made; where
// this system's iconv cannot convert 1252, no byte is read as a character and none is written.
class Windows1252 final : public CodePage {
 public:
  Windows1252();
  char32_t ByteToChar(std::uint8_t byte) const override;
  std::optional<std::uint8_t> CharToByte(char32_t ch) const override;

 private:
  const CodePage* table_;
};

}  // namespace velquin
