#pragma once

#include <filesystem>

namespace velquin {

// Whether a process other than this one has the file open. A Windows program under Wine, the
// game among them, holds its open files as ordinary descriptors of its own and of the Wine
// server: Wine's sharing rules, which keep a Windows program from writing a file the game
// holds, do not reach a native program, so it must look for itself.
//
// The kernel is asked first, about this very file: a write lease is granted only while no other
// open of it exists, whoever made it (another account, another mount namespace, a descriptor
// passed over a socket, a mapping), in constant time. The lease is let go at once; an opener
// in that instant waits for it, or is told to try again if it opens without blocking.
//
// Where no lease can be had (NFS and other file systems without leases, a file of another
// account without CAP_LEASE, leases turned off), or where this process holds the file open
// itself, every process's descriptors are looked at in procfs instead. That scan does not see
// processes of other accounts, nor opens that are no descriptor (mappings, descriptors in
// flight over a socket); it tells files apart by inode within a file system, and on btrfs a
// mount's nested snapshots share that file system; it grows with the number of descriptors.
bool OpenInAnotherProcess(const std::filesystem::path& file);

}  // namespace velquin
