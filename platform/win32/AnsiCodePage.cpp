#include "platform/win32/AnsiCodePage.h"

#include <windows.h>

#include "platform/Utf8.h"

namespace velquin {

namespace {

// What the system reads each byte as, alone. A lone lead byte of a double-byte code page
// stands for no character. A single-byte code page is read without that check: it would refuse
// the bytes that stand for private-use characters (874's 0xDB, say), which Windows writes as
// those very bytes, so a stored name would load as something that cannot be saved back.
//
// The table's reverse lookup is then the system's own strict conversion: without a best fit
// the system writes a character as one byte only when that byte reads back as it, and under
// UTF-8 every byte above 0x7F is refused here as the start of a longer sequence.
std::array<char32_t, 256> SystemTable() {
  CPINFO info{};
  const bool singleByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
  std::array<char32_t, 256> chars{};
  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    wchar_t out[2] = {};
    const bool one = MultiByteToWideChar(CP_ACP, singleByte ? 0 : MB_ERR_INVALID_CHARS, &in, 1, out, 2) == 1;
    chars[byte] = one ? out[0] : kReplacementChar;
  }
  return chars;
}

}  // namespace

AnsiCodePage::AnsiCodePage() : CodePageTable(SystemTable()) {}

}  // namespace velquin
