#pragma once

#include <sys/types.h>

namespace velquin {

// Whether a process other than this one has the file (by device and inode) open. A Windows
// program under Wine, the game among them, holds its open files as ordinary descriptors of
// its own and of the Wine server: Wine's sharing rules, which keep a Windows program from
// writing a file the game holds, do not reach a native program, so it must look for itself.
// Processes whose descriptors this user may not see do not count. A descriptor is known by
// the device of its mount and its inode as procfs tells them (Linux 5.14 and later), never by
// a look at the file itself.
bool OpenInAnotherProcess(dev_t device, ino_t inode);

}  // namespace velquin
