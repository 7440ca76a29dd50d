#include "platform/win32/AnsiCodePage.h"

#include <windows.h>

#include "platform/Utf8.h"

namespace velquin {

char32_t AnsiCodePage::ByteToChar(std::uint8_t byte) const {
  const char in = static_cast<char>(byte);
  wchar_t out[2] = {};
  // A lone lead byte of a double-byte code page stands for no character.
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &in, 1, out, 2) != 1) return kReplacementChar;
  return out[0];
}

std::optional<std::uint8_t> AnsiCodePage::CharToByte(char32_t ch) const {
  wchar_t in[2];
  int units = 1;
  if (ch >= 0x10000) {
    in[0] = static_cast<wchar_t>(0xD800 + ((ch - 0x10000) >> 10));
    in[1] = static_cast<wchar_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
    units = 2;
  } else {
    in[0] = static_cast<wchar_t>(ch);
  }
  char out[4] = {};
  BOOL usedDefault = FALSE;
  // UTF-8 as the ANSI code page takes no used-default flag; a multi-byte result refuses there.
  const bool utf8 = GetACP() == CP_UTF8;
  const int length = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, in, units, out, sizeof out,
                                         nullptr, utf8 ? nullptr : &usedDefault);
  if (length != 1 || usedDefault) return std::nullopt;
  return static_cast<std::uint8_t>(out[0]);
}

}  // namespace velquin
