#include "platform/CodePage.h"

#include "platform/Utf8.h"

namespace velquin {

std::string BytesToText(const CodePage& codePage, std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::uint8_t byte : bytes) AppendUtf8(text, codePage.ByteToChar(byte));
  return text;
}

}  // namespace velquin
