#pragma once

#include <optional>

#include "wine/SystemReg.h"

namespace velquin {

// Where Wine keeps the prefix's code pages, below HKEY_LOCAL_MACHINE.
inline constexpr char kCodePageKey[] = "System\\CurrentControlSet\\Control\\Nls\\CodePage";

// The ANSI code page that key's "ACP" value names; nothing where the key or the value is
// missing (a prefix Wine has not yet started in) or the value is not a number.
std::optional<int> AnsiCodePageIn(const std::optional<RegValues>& codePageKey);

}  // namespace velquin
