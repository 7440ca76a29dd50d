#include "platform/win32/AnsiCodePage.h"

#include <windows.h>

#include "platform/Utf8.h"

namespace velquin {

char32_t AnsiCodePage::ByteToChar(std::uint8_t byte) const {
  const char in = static_cast<char>(byte);
  wchar_t out[2] = {};
  // A lone lead byte of a double-byte code page stands for no character. A single-byte code
  // page is read without that check: it would refuse the bytes that stand for private-use
  // characters (874's 0xDB, say), which Windows writes as those very bytes, so a stored name
  // would load as something that cannot be saved back.
  CPINFO info{};
  const bool singleByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
  if (MultiByteToWideChar(CP_ACP, singleByte ? 0 : MB_ERR_INVALID_CHARS, &in, 1, out, 2) != 1) {
    return kReplacementChar;
  }
  return out[0];
}

std::optional<std::uint8_t> AnsiCodePage::CharToByte(char32_t ch) const {
  std::u16string units;
  AppendUtf16(units, ch);
  const std::wstring in(units.begin(), units.end());
  char out[4] = {};
  BOOL usedDefault = FALSE;
  // UTF-8 as the ANSI code page takes no used-default flag; a multi-byte result refuses there.
  const bool utf8 = GetACP() == CP_UTF8;
  const int length =
      WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, in.data(), static_cast<int>(in.size()),
                          out, sizeof out, nullptr, utf8 ? nullptr : &usedDefault);
  if (length != 1 || usedDefault) return std::nullopt;
  return static_cast<std::uint8_t>(out[0]);
}

}  // namespace velquin
