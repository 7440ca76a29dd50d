#include "core/FieldText.h"

#include <algorithm>
#include <array>
#include <span>

#include "platform/Utf8.h"

namespace velquin {

std::string ReadFieldText(FileReader& file, std::uint64_t position, const CodePage& codePage) {
  std::string text;
  // One read takes a whole name or macro slot with room to spare.
  std::array<std::uint8_t, 256> chunk{};
  for (std::size_t done = 0; done < kMaxReadChars;) {
    const std::span<std::uint8_t> into = std::span(chunk).first(std::min(chunk.size(), kMaxReadChars - done));
    const Result<std::size_t> got = file.ReadAt(position + done, into);
    if (!got.ok() || got.value() == 0) break;
    for (std::size_t i = 0; i < got.value(); ++i) {
      if (chunk[i] == 0) return text;
      AppendUtf8(text, codePage.ByteToChar(chunk[i]));
    }
    done += got.value();
  }
  return text;
}

std::optional<Bytes> EncodeFieldText(std::string_view text, FieldLimit limit, const CodePage& codePage) {
  std::u32string chars = DecodeUtf8(text);
  if (chars.size() > limit.maxChars) chars.resize(limit.maxChars);

  Bytes field;
  field.reserve(chars.size() + kTerminatorBytes);
  for (char32_t ch : chars) {
    const std::optional<std::uint8_t> byte = codePage.CharToByte(ch);
    // A zero byte would end the text early in the game's eyes: refuse it like any other.
    if (!byte || *byte == 0) return std::nullopt;
    field.push_back(*byte);
  }
  field.insert(field.end(), kTerminatorBytes, 0);
  if (field.size() > limit.maxBytes) field.resize(limit.maxBytes);
  return field;
}

}  // namespace velquin
