#pragma once

#include <filesystem>

#include "platform/Services.h"

namespace velquin {

// The services of one Wine prefix: the ANSI code page its programs see (PrefixAnsiCodePage),
// its registry read from its system.reg, and files on its drives.
//
// Where that code page is one Velquin cannot convert (a double-byte one such as 932, UTF-8,
// anything but 874 and 1250 to 1258), the code page refuses every character and the registry
// finds no key: the game folder is empty, the window opens with empty boxes and no save writes
// a byte. WhyNoAnsiCodePage(PrefixAnsiCodePage(prefix)) gives the sentence that says why.
PlatformServices MakePrefixServices(const std::filesystem::path& prefix);

// Services with no prefix at all: the registry has no game entry, as on Windows without the
// game, so the window opens empty and no save writes.
PlatformServices MakeServicesWithoutGame();

}  // namespace velquin
