#include "platform/CodePage.h"

#include "platform/Utf8.h"

namespace velquin {

std::string BytesToText(const CodePage& codePage, std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::uint8_t byte : bytes) AppendUtf8(text, codePage.ByteToChar(byte));
  return text;
}

std::optional<Bytes> TextToBytes(const CodePage& codePage, std::string_view text) {
  Bytes bytes;
  for (char32_t ch : DecodeUtf8(text)) {
    const std::optional<std::uint8_t> byte = codePage.CharToByte(ch);
    if (!byte) return std::nullopt;
    bytes.push_back(*byte);
  }
  return bytes;
}

}  // namespace velquin
