#pragma once

namespace velquin {

// Velquin converts the single-byte Windows ANSI code pages (874, 1250 to 1258) through
// IconvCodePage, and no other: not a double-byte one (932, 936, 949, 950), nor UTF-8 (65001).
enum class CodePageSupport { Converted, DoubleByte, Utf8, Unknown, NotInIconv };

// Whether a code page number gets a converter, and if not, why.
CodePageSupport SupportOf(int number);

// The code pages IconvCodePage knows, as the lone one (874) and the range of the others.
struct KnownCodePages {
  int lone, first, last;
};
KnownCodePages KnownAnsiCodePages();

}  // namespace velquin
