#include "wine/OutsideFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

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

// What stands where a file should be.
ReadProblem::Kind KindOf(mode_t mode) {
  using enum ReadProblem::Kind;
  if (S_ISDIR(mode)) return Folder;
  if (S_ISFIFO(mode)) return Fifo;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return Device;
  if (S_ISSOCK(mode)) return Socket;
  return NotRegular;
}

// Times the name of a file being opened may be given to another file before the open gives up.
constexpr int kOpenTries = 3;

OutsideFile Refused(ReadProblem why) {
  OutsideFile file;
  file.refusal = why;
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

RegularFile OpenRegularFile(const std::filesystem::path& file) {
  RegularFile opened;
  for (int attempt = 0; attempt < kOpenTries; ++attempt) {
    struct stat named {};
    if (::stat(file.c_str(), &named) != 0) {
      opened.error = errno;
      return opened;
    }
    opened.info = named;
    if (!S_ISREG(named.st_mode)) {
      opened.error = S_ISDIR(named.st_mode) ? EISDIR : EINVAL;
      return opened;
    }
    // O_NONBLOCK: a FIFO put in the file's place since does not wait for a writer.
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid() || ::fstat(fd.get(), &opened.info) != 0) {
      opened.error = errno;
      return opened;
    }
    // Wine writes a system.reg anew and renames it over the old one.
    if (opened.info.st_dev != named.st_dev || opened.info.st_ino != named.st_ino) continue;
    if (::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK) != 0) {
      opened.error = errno;
      return opened;
    }
    opened.fd = std::move(fd);
    return opened;
  }
  opened.error = EAGAIN;
  return opened;
}

OutsideFile ReadOutsideFile(const std::filesystem::path& file, std::int64_t maxSize) {
  const RegularFile opened = OpenRegularFile(file);
  const struct stat& info = opened.info;
  if (!opened.fd.valid()) {
    if (info.st_mode != 0 && !S_ISREG(info.st_mode)) return Refused({KindOf(info.st_mode)});
    OutsideFile absent = Refused(
        opened.error == ENOENT || opened.error == ENOTDIR ? ReadProblem{} : SystemProblem(opened.error));
    absent.missing = !absent.refusal;
    return absent;
  }
  if (info.st_size > maxSize) return Refused({ReadProblem::Kind::TooBig, 0, info.st_size, maxSize});

  OutsideFile read;
  read.stamp = StampFrom(info);
  std::string text(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t got = ::read(opened.fd.get(), text.data() + done, text.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Refused(SystemProblem(errno));
    if (got == 0) break;  // the file shrank since it was looked at: what it still holds
    done += static_cast<std::size_t>(got);
  }
  text.resize(done);
  read.text = std::move(text);
  return read;
}

}  // namespace velquin
