#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wine/SystemReg.h"

namespace velquin {

// A key path below HKEY_LOCAL_MACHINE as the registry compares it: lower case, without
// separators at either end.
std::string MachineKeyPath(const std::string& subKey);

// The values of keys below HKEY_LOCAL_MACHINE as a 32-bit program in the prefix sees them, from
// its system.reg's text: the 32-bit view on a 64-bit prefix, with Wine's registry links
// followed. One entry per key asked for, nothing for a key that is missing. The text is parsed
// once for all of them (again only where a link leads to a key nobody could know to ask for),
// and only the keys asked for and those on the way to them.
std::vector<std::optional<RegValues>> MachineKeysIn(std::string_view systemReg,
                                                    const std::vector<std::string>& subKeys);

// The same for one key, reading the prefix's system.reg afresh. Nothing when the file is
// missing or not one that may be read (OutsideFile), or the key is missing.
std::optional<RegValues> ReadMachineKey(const std::filesystem::path& prefix, const std::string& subKey);

}  // namespace velquin
