#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace velquin {

// Case-blind comparisons of names that Windows, Wine and the launchers compare by their ASCII
// letters only. Not std::tolower or std::isspace: those follow the C locale, which Qt sets
// from the user's (in Turkish 8-bit locales 'I' folds to a dotless 'ı') while the search for
// the game runs on a thread of its own.

constexpr char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool IsAsciiLetter(char c) {
  return FoldAscii(c) >= 'a' && FoldAscii(c) <= 'z';
}

// Space as the "C" locale has it: blank, tab, and the line and page breaks.
constexpr bool IsAsciiSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Lower-cases the ASCII letters.
inline std::string FoldCase(std::string text) {
  for (char& c : text) c = FoldAscii(c);
  return text;
}

inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

}  // namespace velquin
