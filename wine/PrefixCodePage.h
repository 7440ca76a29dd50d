#pragma once

#include <filesystem>

namespace velquin {

// The ANSI code page that programs in the prefix see: the "ACP" value Wine keeps in the
// prefix's registry; where that is missing (a prefix Wine has not yet started in), the one Wine
// would pick for the user's locale; 1252 where neither says.
int PrefixAnsiCodePage(const std::filesystem::path& prefix);

}  // namespace velquin
