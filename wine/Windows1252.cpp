#include "wine/Windows1252.h"

#include <memory>

#include "platform/Utf8.h"
#include "wine/IconvCodePage.h"

namespace velquin {

Windows1252::Windows1252() {
  static const std::unique_ptr<IconvCodePage> table = IconvCodePage::Open(1252);
  table_ = table.get();
}

char32_t Windows1252::ByteToChar(std::uint8_t byte) const {
  return table_ ? table_->ByteToChar(byte) : kReplacementChar;
}

std::optional<std::uint8_t> Windows1252::CharToByte(char32_t ch) const {
  return table_ ? table_->CharToByte(ch) : std::nullopt;
}

}  // namespace velquin
