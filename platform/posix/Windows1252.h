#pragma once

#include "platform/CodePage.h"

namespace velquin {

// Windows-1252, one to one: the five bytes it leaves undefined map to the C1 controls
// U+0081, U+008D, U+008F, U+0090 and U+009D, as Windows maps them.
class Windows1252 final : public CodePage {
 public:
  char32_t ByteToChar(std::uint8_t byte) const override;
  std::optional<std::uint8_t> CharToByte(char32_t ch) const override;
};

}  // namespace velquin
