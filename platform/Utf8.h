#pragma once

#include <string>
#include <string_view>

namespace velquin {

inline constexpr char32_t kReplacementChar = U'\uFFFD';

// Invalid sequences decode to U+FFFD, which no single-byte code page holds, so a save refuses them.
std::u32string DecodeUtf8(std::string_view text);

void AppendUtf8(std::string& out, char32_t ch);
std::string EncodeUtf8(std::u32string_view chars);

}  // namespace velquin
