#pragma once

#include <filesystem>

namespace velquin {

// Whether a process other than this one has the file open. A Windows program under Wine, the
// game among them, holds its open files as ordinary descriptors of its own and of the Wine
// server: Wine's sharing rules, which keep a Windows program from writing a file the game
// holds, do not reach a native program, so it must look for itself.
// Processes whose descriptors this user may not see do not count. A descriptor is known by
// its mount and inode as procfs tells them (Linux 5.14 and later), never by a look at the file
// it has open: that file's file system may be a stalled network or FUSE mount.
bool OpenInAnotherProcess(const std::filesystem::path& file);

}  // namespace velquin
