#include "core/FieldText.h"

#include "platform/Utf8.h"

namespace velquin {

std::string ReadFieldText(std::span<const std::uint8_t> file, std::uint64_t position,
                          const CodePage& codePage) {
  std::string text;
  for (std::uint64_t offset = position - 1; offset < file.size() && file[offset] != 0; ++offset) {
    AppendUtf8(text, codePage.ByteToChar(file[offset]));
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

Status WriteFieldText(FileWriter& file, std::uint64_t position, std::span<const std::uint8_t> field) {
  return file.WriteAt(position, field);
}

}  // namespace velquin
