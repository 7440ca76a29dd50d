#pragma once

#include <string>
#include <string_view>

namespace velquin {

inline constexpr char32_t kReplacementChar = U'\uFFFD';

// Invalid sequences decode to U+FFFD, which no single-byte code page holds, so a save refuses them.
std::u32string DecodeUtf8(std::string_view text);

void AppendUtf8(std::string& out, char32_t ch);
std::string EncodeUtf8(std::u32string_view chars);

// UTF-16, as Windows and Wine's registry keep text. A surrogate that is not half of a
// proper pair is taken alone: it stands for no character, and nothing after it is lost.
void AppendUtf16(std::u16string& out, char32_t ch);
char32_t NextUtf16(std::u16string_view units, std::size_t& index);  // advances `index`

}  // namespace velquin
