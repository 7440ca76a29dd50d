#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/CodePage.h"
#include "platform/Registry.h"

namespace velquin {

// The game's entry among the shell's per-application paths.
inline constexpr char kGameKeyName[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zovur.exe";
inline constexpr char kGameValueName[] = "Path";

// Read access only: asking more of HKEY_LOCAL_MACHINE is refused to a standard user. The
// game is a 32-bit program and its installer writes the 32-bit view; a 64-bit build of ours
// must look there too (a 32-bit build on 64-bit Windows sees that view anyway).
inline constexpr std::uint32_t kGameKeyAccess = kKeyRead | kKey32BitView;

// Status of QueryValueData besides 0 (success) and the system's error codes.
inline constexpr std::int32_t kUnsupportedValueType = -1;

// Reads one string value of a key: 0 and the text, -1 for a value that is not a string,
// otherwise the registry's error code with `value` left empty.
std::int32_t QueryValueData(Registry& registry, const CodePage& codePage, RegistryKey key,
                            const std::string& valueName, std::optional<std::string>& value);

// Opens the key, reads the value and closes the key; any failure gives nothing.
std::optional<std::string> ReadRegistryValue(Registry& registry, const CodePage& codePage,
                                             RegistryKey rootKey, const std::string& keyName,
                                             const std::string& valueName);

// The game folder (GamePath): the game entry's "Path" value, or "" when it cannot be read.
std::string LookUpGameFolder(Registry& registry, const CodePage& codePage);

}  // namespace velquin
