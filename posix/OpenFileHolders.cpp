#include "posix/OpenFileHolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/PosixHandles.h"

namespace velquin {

namespace {

// Everything here is read from procfs alone. Following /proc/PID/fd/N to its file would wait
// on that file's file system, forever for a stalled FUSE or network mount that has nothing
// to do with the game.

// A descriptor's fdinfo names its mount and inode in its first lines, which one read of procfs
// gives whole; the rest may be long.
constexpr std::size_t kFdInfoBytes = 1024;
// Mount tables of thousands of mounts run to a few hundred KiB.
constexpr std::size_t kMountInfoBytes = 4 << 20;

// At most `limit` bytes of a file (`name` in the open folder, or a whole path with AT_FDCWD):
// to its end, or only what the first read gives where the file's first lines are all that
// is needed; nothing when it can't be opened or read.
std::string ReadUpTo(int folder, const char* name, std::size_t limit, bool firstReadOnly) {
  std::string text;
  const Descriptor fd(::openat(folder, name, O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return text;
  text.resize(limit);
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t got = ::read(fd.get(), text.data() + done, limit - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
    if (firstReadOnly) break;
  }
  text.resize(done);
  return text;
}

bool IsProcessId(const char* name) {
  if (!*name) return false;
  for (; *name; ++name) {
    if (!std::isdigit(static_cast<unsigned char>(*name))) return false;
  }
  return true;
}

// The number at the front of `text`, dropped with the one character after it, which must be
// `then`.
std::optional<std::uint64_t> Take(std::string_view& text, char then) {
  std::uint64_t value = 0;
  const char* const stop = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data(), stop, value);
  if (error != std::errc() || end == stop || *end != then) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()) + 1);
  return value;
}

// The number on the fdinfo line "key:<tab>number", if there is one.
std::optional<std::uint64_t> Field(std::string_view info, std::string_view key) {
  for (std::size_t end; (end = info.find('\n')) != std::string_view::npos; info.remove_prefix(end + 1)) {
    if (!info.starts_with(key)) continue;
    info.remove_prefix(key.size());
    info.remove_prefix(std::min(info.find_first_not_of(" \t"), info.size()));
    return Take(info, '\n');
  }
  return std::nullopt;
}

// Mount ids are unique across all mount namespaces, so one table serves every process; a
// process in another namespace adds its own mounts the first time one of them is asked for.
class Mounts {
 public:
  // The file system the mount shows, learnt from `process`'s mount table when new; empty
  // when the table has no such mount.
  const std::string& FileSystemOf(std::uint64_t mountId, const std::string& process) {
    if (!fileSystems_.contains(mountId))
      Learn(ReadUpTo(AT_FDCWD, ("/proc/" + process + "/mountinfo").c_str(), kMountInfoBytes, false));
    return fileSystems_.try_emplace(mountId).first->second;
  }

 private:
  // Each line: mount id, parent id, major:minor, root, mount point, options, optional fields,
  // "-", type, source, super options. A file system is its device with its super options:
  // the same for every mount of one device, except btrfs's, which name the subvolume, whose
  // inode numbers are its own. A line cut off by the size bound is dropped.
  void Learn(std::string_view table) {
    for (std::size_t end; (end = table.find('\n')) != std::string_view::npos; table.remove_prefix(end + 1)) {
      std::string_view line = table.substr(0, end);
      const auto id = Take(line, ' ');
      const std::size_t device = line.find(' ') + 1;  // after the parent id
      const std::size_t separator = line.find(" - ");
      if (!id || separator == std::string_view::npos) continue;
      const std::size_t source = line.find(' ', separator + 3);
      const std::size_t options = line.find(' ', source + 1);
      if (source == std::string_view::npos || options == std::string_view::npos) continue;
      fileSystems_.try_emplace(
          *id,
          std::string(line.substr(device, line.find(' ', device) - device)).append(line.substr(options)));
    }
  }

  std::unordered_map<std::uint64_t, std::string> fileSystems_;
};

bool HasOpen(const std::string& process, std::uint64_t inode, const std::string& fileSystem, Mounts& mounts) {
  const Directory fds(::opendir(("/proc/" + process + "/fdinfo").c_str()));
  if (!fds.valid()) return false;  // gone, or not ours to see
  while (const dirent* entry = ::readdir(fds.get())) {
    if (entry->d_name[0] == '.') continue;
    const std::string info = ReadUpTo(::dirfd(fds.get()), entry->d_name, kFdInfoBytes, true);
    const auto ino = Field(info, "ino:");
    const auto mountId = Field(info, "mnt_id:");
    if (ino == inode && mountId && mounts.FileSystemOf(*mountId, process) == fileSystem) return true;
  }
  return false;
}

// Every other process's descriptors in procfs; this one's own do not count.
bool AnotherHasOpen(std::uint64_t inode, const std::string& fileSystem, Mounts& mounts) {
  const Directory processes(::opendir("/proc"));
  if (!processes.valid()) return false;
  const std::string self = std::to_string(::getpid());
  while (const dirent* entry = ::readdir(processes.get())) {
    if (IsProcessId(entry->d_name) && entry->d_name != self &&
        HasOpen(entry->d_name, inode, fileSystem, mounts))
      return true;
  }
  return false;
}

enum class Lease { kGranted, kConflict, kRefused };

// A lease's holder is sent a signal when another process opens the file, SIGIO by default,
// which would end this process. SIGURG is ignored unless a handler is set, and nothing here
// sets one: an opener in the instant the lease is held can neither end nor stop the program.
constexpr int kLeaseBreakSignal = SIGURG;

// Whether a write lease on the file can be had: only while no other open of it exists.
// Opened without blocking, so that a FIFO put in its place, or another's lease, does not wait.
Lease AskForLease(const std::filesystem::path& file) {
  const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return errno == EWOULDBLOCK ? Lease::kConflict : Lease::kRefused;  // another's lease: held
  if (::fcntl(fd.get(), F_SETSIG, kLeaseBreakSignal) != 0) return Lease::kRefused;
  if (::fcntl(fd.get(), F_SETLEASE, F_WRLCK) != 0)
    return errno == EAGAIN ? Lease::kConflict : Lease::kRefused;
  // Let go before anything else happens; the close would let go too.
  (void)::fcntl(fd.get(), F_SETLEASE, F_UNLCK);
  return Lease::kGranted;
}

}  // namespace

bool OpenInAnotherProcess(const std::filesystem::path& file) {
  // The file's own mount, as its holders' descriptors name theirs: the device stat gives is
  // not the mount table's on btrfs or on an overlay of several file systems.
  struct statx info {};
  if (::statx(AT_FDCWD, file.c_str(), 0, STATX_TYPE | STATX_INO | STATX_MNT_ID, &info) != 0 ||
      !S_ISREG(info.stx_mode))
    return false;  // nothing to hold; the save's own open says what is wrong
  const Lease lease = AskForLease(file);
  if (lease == Lease::kGranted) return false;
  if (!(info.stx_mask & STATX_MNT_ID)) return lease == Lease::kConflict;
  Mounts mounts;
  const std::string fileSystem = mounts.FileSystemOf(info.stx_mnt_id, "self");
  if (fileSystem.empty()) return lease == Lease::kConflict;
  // The kernel counts this process's own opens too: only then is its answer not enough.
  const std::string self = std::to_string(::getpid());
  if (lease == Lease::kConflict && !HasOpen(self, info.stx_ino, fileSystem, mounts)) return true;
  return AnotherHasOpen(info.stx_ino, fileSystem, mounts);
}

}  // namespace velquin
