#include "platform/win32/WideText.h"

#include <windows.h>

namespace velquin {

std::wstring Widen(std::string_view utf8) {
  const DWORD saved = GetLastError();
  std::wstring wide;
  if (!utf8.empty()) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    wide.resize(static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  }
  SetLastError(saved);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  const DWORD saved = GetLastError();
  std::string utf8;
  if (!wide.empty()) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(length));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr,
                        nullptr);
  }
  SetLastError(saved);
  return utf8;
}

}  // namespace velquin
