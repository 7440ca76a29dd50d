#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velquin {

using Bytes = std::vector<std::uint8_t>;

// The single-byte ANSI code page: one byte per character, both ways.
class CodePage {
 public:
  virtual ~CodePage() = default;

  // The character the code page assigns to the byte; U+FFFD where it assigns none.
  virtual char32_t ByteToChar(std::uint8_t byte) const = 0;

  // The character's one byte, or nothing when the code page cannot hold it in one byte.
  // Never a best-fit or default character.
  virtual std::optional<std::uint8_t> CharToByte(char32_t ch) const = 0;
};

// Turns ANSI bytes into UTF-8 text, one character per byte.
std::string BytesToText(const CodePage& codePage, std::span<const std::uint8_t> bytes);

}  // namespace velquin
