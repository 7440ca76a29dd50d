#pragma once

#include <memory>

#include "platform/Services.h"
#include "wine/Prefix.h"

namespace velquin {

// The services of one Wine prefix: the ANSI code page its programs see, its registry, and
// files on its drives, all over the one Prefix (its code page table and its read of
// system.reg are not made again).
//
// Where that code page is one Velquin cannot convert (a double-byte one such as 932, UTF-8,
// anything but 874 and 1250 to 1258), the code page refuses every character and the registry
// finds no key: the game folder is empty, the window opens with empty boxes and no save writes
// a byte. SupportOf(prefix->ansiCodePage()) says why.
PlatformServices MakePrefixServices(std::shared_ptr<const Prefix> prefix);

// Services with no prefix at all: the registry has no game entry, as on Windows without the
// game, so the window opens empty and no save writes.
PlatformServices MakeServicesWithoutGame();

}  // namespace velquin
