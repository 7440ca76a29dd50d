#include "platform/posix/OpenFileHolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <string>

namespace velquin {

namespace {

// Owns an open directory so that every exit path closes it.
class Directory {
 public:
  explicit Directory(const std::string& path) : dir_(::opendir(path.c_str())) {}
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;
  ~Directory() {
    if (dir_) ::closedir(dir_);
  }
  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

bool IsProcessId(const char* name) {
  if (!*name) return false;
  for (; *name; ++name) {
    if (!std::isdigit(static_cast<unsigned char>(*name))) return false;
  }
  return true;
}

// Each entry of /proc/PID/fd is a link to what the descriptor has open; stat follows it to
// that very file, even one renamed or deleted since.
bool HasOpen(const std::string& process, dev_t device, ino_t inode) {
  const Directory fds("/proc/" + process + "/fd");
  if (!fds.get()) return false;  // gone, or not ours to see
  while (const dirent* entry = ::readdir(fds.get())) {
    struct stat target {};
    if (entry->d_name[0] != '.' && ::fstatat(::dirfd(fds.get()), entry->d_name, &target, 0) == 0 &&
        target.st_dev == device && target.st_ino == inode) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool OpenInAnotherProcess(dev_t device, ino_t inode) {
  const Directory processes("/proc");
  if (!processes.get()) return false;
  const std::string self = std::to_string(::getpid());
  while (const dirent* entry = ::readdir(processes.get())) {
    if (IsProcessId(entry->d_name) && entry->d_name != self && HasOpen(entry->d_name, device, inode))
      return true;
  }
  return false;
}

}  // namespace velquin
