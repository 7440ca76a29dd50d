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

CodePageSupport SupportOf(int number) {
  if (IsDoubleByte(number)) return CodePageSupport::DoubleByte;
  if (number == kUtf8) return CodePageSupport::Utf8;
  if (!IconvCodePage::Knows(number)) return CodePageSupport::Unknown;
  if (!IconvCodePage::Open(number)) return CodePageSupport::NotInIconv;
  return CodePageSupport::Converted;
}

KnownCodePages KnownAnsiCodePages() {
  const std::vector<int> known = IconvCodePage::Known();
  return {known.front(), known[1], known.back()};
}

}  // namespace velquin
