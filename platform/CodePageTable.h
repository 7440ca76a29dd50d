#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "platform/CodePage.h"
#include "platform/Utf8.h"

namespace velquin {

// A code page whose 256 characters were worked out once: every conversion after that is a
// lookup. U+FFFD marks a byte that stands for no character; no character is written as it.
class CodePageTable : public CodePage {
 public:
  explicit CodePageTable(const std::array<char32_t, 256>& chars) : chars_(chars) {
    for (int byte = 0; byte < 256; ++byte) bytes_[byte] = {chars_[byte], static_cast<std::uint8_t>(byte)};
    std::stable_sort(bytes_.begin(), bytes_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }

  char32_t ByteToChar(std::uint8_t byte) const override { return chars_[byte]; }

  std::optional<std::uint8_t> CharToByte(char32_t ch) const override {
    if (ch == kReplacementChar) return std::nullopt;
    const auto found =
        std::lower_bound(bytes_.begin(), bytes_.end(), ch,
                         [](const auto& entry, char32_t wanted) { return entry.first < wanted; });
    if (found == bytes_.end() || found->first != ch) return std::nullopt;
    return found->second;
  }

 private:
  std::array<char32_t, 256> chars_;
  std::array<std::pair<char32_t, std::uint8_t>, 256> bytes_;  // by character, for a binary search
};

}  // namespace velquin
