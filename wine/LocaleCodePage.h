#pragma once

#include <string>
#include <string_view>

namespace velquin {

// The user's locale as Wine takes it: LC_ALL, else LC_CTYPE, else LANG (the first one set and
// not empty); "" when none is.
std::string UserLocale();

// The ANSI code page Wine gives programs under a POSIX locale such as "pl_PL.UTF-8"
// (language[_COUNTRY][.charset][@modifier]): 1250 for Polish, 932 for Japanese, 65001 for a
// language Windows writes in Unicode only, 1252 for Western languages and any it does not know.
int LocaleAnsiCodePage(std::string_view locale);

}  // namespace velquin
