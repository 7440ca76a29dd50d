#pragma once

#include "platform/CodePage.h"

namespace velquin {

// The system's ANSI code page (CP_ACP), converting strictly: no best fit, no default "?".
class AnsiCodePage final : public CodePage {
 public:
  char32_t ByteToChar(std::uint8_t byte) const override;
  std::optional<std::uint8_t> CharToByte(char32_t ch) const override;
};

}  // namespace velquin
