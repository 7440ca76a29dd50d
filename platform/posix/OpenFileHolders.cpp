#include "platform/posix/OpenFileHolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

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

struct CloseDirectory {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using Directory = std::unique_ptr<DIR, CloseDirectory>;

// At most `limit` bytes of a file (`name` in the open folder, or a whole path with AT_FDCWD):
// to its end, or only what the first read gives where the file's first lines are all that
// is needed; nothing when it can't be opened or read.
std::string ReadUpTo(int folder, const char* name, std::size_t limit, bool firstReadOnly) {
  std::string text;
  const int fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  text.resize(limit);
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t got = ::read(fd, text.data() + done, limit - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
    if (firstReadOnly) break;
  }
  ::close(fd);
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
  explicit Mounts(dev_t device) : device_(device) {}

  // Whether the mount is of the device, learnt from `process`'s mount table when new.
  bool OfDevice(std::uint64_t mountId, const std::string& process) {
    if (!onDevice_.contains(mountId))
      Learn(ReadUpTo(AT_FDCWD, ("/proc/" + process + "/mountinfo").c_str(), kMountInfoBytes, false));
    return onDevice_.try_emplace(mountId, false).first->second;
  }

 private:
  // Each line: mount id, parent id, major:minor, then fields not needed here. A line cut off
  // by the size bound is dropped.
  void Learn(std::string_view table) {
    for (std::size_t end; (end = table.find('\n')) != std::string_view::npos; table.remove_prefix(end + 1)) {
      std::string_view line = table.substr(0, end);
      const auto id = Take(line, ' ');
      const auto parent = Take(line, ' ');
      const auto major = parent ? Take(line, ':') : std::nullopt;
      const auto minor = major ? Take(line, ' ') : std::nullopt;
      if (id && minor) onDevice_.try_emplace(*id, ::makedev(*major, *minor) == device_);
    }
  }

  dev_t device_;
  std::unordered_map<std::uint64_t, bool> onDevice_;
};

bool HasOpen(const std::string& process, ino_t inode, Mounts& mounts) {
  const Directory fds(::opendir(("/proc/" + process + "/fdinfo").c_str()));
  if (!fds) return false;  // gone, or not ours to see
  while (const dirent* entry = ::readdir(fds.get())) {
    if (entry->d_name[0] == '.') continue;
    const std::string info = ReadUpTo(::dirfd(fds.get()), entry->d_name, kFdInfoBytes, true);
    const auto ino = Field(info, "ino:");
    const auto mountId = Field(info, "mnt_id:");
    if (ino == inode && mountId && mounts.OfDevice(*mountId, process)) return true;
  }
  return false;
}

}  // namespace

bool OpenInAnotherProcess(dev_t device, ino_t inode) {
  const Directory processes(::opendir("/proc"));
  if (!processes) return false;
  const std::string self = std::to_string(::getpid());
  Mounts mounts(device);
  while (const dirent* entry = ::readdir(processes.get())) {
    if (IsProcessId(entry->d_name) && entry->d_name != self && HasOpen(entry->d_name, inode, mounts))
      return true;
  }
  return false;
}

}  // namespace velquin
