#pragma once

#include <string>
#include <string_view>

namespace velquin {

// UTF-8 inside the program, UTF-16 at the Win32 edge. Both keep GetLastError() intact.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace velquin
