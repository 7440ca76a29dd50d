#include "wine/OutsideFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "wine/Descriptor.h"

namespace velquin {

namespace {

bool SameTime(const std::timespec& a, const std::timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

FileStamp StampFrom(const struct stat& info) {
  FileStamp stamp;
  stamp.device = info.st_dev;
  stamp.inode = info.st_ino;
  stamp.size = info.st_size;
  stamp.modified = info.st_mtim;
  stamp.changed = info.st_ctim;
  return stamp;
}

// What a file of this kind is, for the sentence that says why it was skipped.
std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// The refusal for a file that is not a regular one or is too big; empty when it may be read.
std::string Refusal(const struct stat& info, std::int64_t maxSize) {
  if (!S_ISREG(info.st_mode)) return KindOf(info.st_mode) + ", not a file";
  if (info.st_size > maxSize)
    return "too big (" + std::to_string(info.st_size) + " bytes, at most " + std::to_string(maxSize) + ")";
  return "";
}

OutsideFile Refused(std::string why) {
  OutsideFile file;
  file.refusal = std::move(why);
  return file;
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return std::nullopt;
  return StampFrom(info);
}

OutsideFile ReadOutsideFile(const std::filesystem::path& file, std::int64_t maxSize) {
  // Looked at before it is opened, so that no device is ever opened; and again through the
  // descriptor, since the name may have been given to something else in between. O_NONBLOCK
  // keeps the open of a FIFO from waiting for a writer.
  struct stat before {};
  if (::stat(file.c_str(), &before) != 0) {
    OutsideFile absent = Refused(errno == ENOENT || errno == ENOTDIR ? "" : std::strerror(errno));
    absent.missing = absent.refusal.empty();
    return absent;
  }
  if (std::string why = Refusal(before, maxSize); !why.empty()) return Refused(std::move(why));
  const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return Refused(std::strerror(errno));
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return Refused(std::strerror(errno));
  if (std::string why = Refusal(info, maxSize); !why.empty()) return Refused(std::move(why));

  OutsideFile read;
  read.stamp = StampFrom(info);
  std::string text(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t got = ::read(fd.get(), text.data() + done, text.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Refused(std::strerror(errno));
    if (got == 0) break;  // the file shrank since it was looked at: what it still holds
    done += static_cast<std::size_t>(got);
  }
  text.resize(done);
  read.text = std::move(text);
  return read;
}

}  // namespace velquin
