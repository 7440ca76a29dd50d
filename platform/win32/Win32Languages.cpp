#include "platform/win32/Win32Languages.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace velquin {

std::vector<std::string> PreferredLanguages() {
  ULONG count = 0, length = 0;
  if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &length) || length == 0) return {};
  std::wstring names(length, L'\0');
  if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &length)) return {};
  // One name after another, each ended by a NUL, the list by a second.
  std::vector<std::string> tags;
  for (std::size_t at = 0; at < names.size() && names[at] != L'\0';) {
    const std::size_t end = names.find(L'\0', at);
    tags.push_back(Narrow(std::wstring_view(names).substr(at, end - at)));
    at = end + 1;
  }
  return tags;
}

}  // namespace velquin
