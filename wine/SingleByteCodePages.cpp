#include "wine/SingleByteCodePages.h"

#include <algorithm>
#include <iterator>

#include "wine/IconvCodePage.h"

namespace velquin {

namespace {

constexpr int kDoubleByteCodePages[] = {932, 936, 949, 950};
constexpr int kUtf8 = 65001;

bool IsDoubleByte(int number) {
  return std::find(std::begin(kDoubleByteCodePages), std::end(kDoubleByteCodePages), number) !=
         std::end(kDoubleByteCodePages);
}

}  // namespace

std::string WhyNoAnsiCodePage(int number) {
  const std::string uses = "This prefix uses code page " + std::to_string(number);
  if (IsDoubleByte(number)) return uses + ", a double-byte code page; Velquin edits single-byte names only.";
  if (number == kUtf8) return uses + " (UTF-8); Velquin edits single-byte names only.";
  if (!IconvCodePage::Knows(number))
    return uses + ", which Velquin cannot convert; it edits names in code pages 874 and 1250 to 1258.";
  if (!IconvCodePage::Open(number)) return uses + ", which this system's iconv cannot convert.";
  return "";
}

}  // namespace velquin
