#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velquin {

// Maps a Windows path such as "C:\Games\DF\plyr.sav" to the file inside the prefix, through
// its dosdevices drive links, matching each folder and file name without regard to case as
// Wine does. A path that starts with "/" is a POSIX path already. Nothing for a path that
// names no drive.
std::optional<std::filesystem::path> ResolveWindowsPath(const std::filesystem::path& prefix,
                                                        const std::string& windowsPath);

}  // namespace velquin
