#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "wine/SystemReg.h"

namespace velquin {

// The values of a key below HKEY_LOCAL_MACHINE as a 32-bit program in the prefix sees it: the
// 32-bit view on a 64-bit prefix, with Wine's registry links followed. Reads the prefix's
// system.reg afresh on every call but parses only the key and the keys on the way to it.
// Nothing when the file or the key is missing.
std::optional<RegValues> ReadMachineKey(const std::filesystem::path& prefix, const std::string& subKey);

}  // namespace velquin
