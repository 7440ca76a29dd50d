#include "posix/PosixFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "platform/PosixHandles.h"
#include "posix/OpenFileHolders.h"
#include "wine/OutsideFile.h"
#include "wine/WindowsPaths.h"

namespace velquin {

namespace {

OsError LastError() {
  return OsError{static_cast<std::uint32_t>(errno)};
}

template <class Call>
auto Retried(Call call) {
  for (;;) {
    const auto result = call();
    if (result >= 0 || errno != EINTR) return result;
  }
}

// Opened with O_NONBLOCK so that a FIFO in the file's place does not wait for a reader:
// anything but a regular file is refused here, and the file itself goes back to blocking I/O.
Status RequireRegularFile(int fd, struct stat& info) {
  if (::fstat(fd, &info) != 0) return LastError();
  if (S_ISDIR(info.st_mode)) return Status::Failed(EISDIR);
  if (!S_ISREG(info.st_mode)) return Status::Failed(EINVAL);
  if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) return LastError();
  return Status::Ok();
}

Status WriteAll(int fd, off_t offset, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written =
        Retried([&] { return ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + done); });
    if (written < 0) return LastError();
    done += static_cast<std::size_t>(written);
  }
  return Status::Ok();
}

Status Synced(int fd) {
  return Retried([&] { return ::fdatasync(fd); }) == 0 ? Status::Ok() : Status(LastError());
}

// Copies the bytes [from, to) by the kernel where it can (a reflink on file systems that share
// blocks), else through a buffer.
Status CopyRange(int source, int target, off_t from, off_t to) {
  while (from < to) {
    off_t in = from, out = from;
    const ssize_t copied = Retried(
        [&] { return ::copy_file_range(source, &in, target, &out, static_cast<std::size_t>(to - from), 0); });
    if (copied > 0) {
      from += copied;
      continue;
    }
    if (copied == 0) return Status::Failed(EIO);  // the file shrank meanwhile
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return LastError();
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<off_t>(to - from, 1 << 16)));
    const ssize_t got = Retried([&] { return ::pread(source, buffer.data(), buffer.size(), from); });
    if (got <= 0) return got == 0 ? Status::Failed(EIO) : Status(LastError());
    if (const Status put = WriteAll(target, from, std::span(buffer).first(static_cast<std::size_t>(got)));
        !put.ok())
      return put;
    from += got;
  }
  return Status::Ok();
}

// Copies the file's data extents and leaves its holes holes, up to kLargestSaveCopy bytes of data.
Status CopyData(int source, int target, off_t size) {
  off_t at = 0, copied = 0;
  while (at < size) {
    off_t data = ::lseek(source, at, SEEK_DATA);
    if (data < 0 && errno == ENXIO) break;  // only a hole is left
    if (data < 0) data = at;                // no extents known: all of it is data
    off_t hole = ::lseek(source, data, SEEK_HOLE);
    if (hole < 0) hole = size;
    hole = std::min(hole, size);
    copied += hole - data;
    if (copied > static_cast<off_t>(kLargestSaveCopy)) return Status::Failed(EFBIG);
    if (const Status done = CopyRange(source, target, data, hole); !done.ok()) return done;
    at = hole;
  }
  return ::ftruncate(target, size) == 0 ? Status::Ok() : Status(LastError());
}

// A name in the folder for a copy; never one a player file can have.
std::string CopyName() {
  std::random_device random;
  char suffix[17];
  std::snprintf(suffix, sizeof suffix, "%08x%08x", random(), random());
  return std::string(kSaveCopyPrefix) + suffix;
}

// Removes the copies that killed saves left linked in under their passing name.
void RemoveLeftCopies(int folder) {
  const int own = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
  if (own < 0) return;
  Directory listing(::fdopendir(own));
  if (!listing.valid()) {
    ::close(own);
    return;
  }
  std::vector<std::string> left;
  while (const dirent* entry = ::readdir(listing.get())) {
    if (std::string_view(entry->d_name).starts_with(kSaveCopyPrefix)) left.emplace_back(entry->d_name);
  }
  for (const std::string& name : left) (void)::unlinkat(folder, name.c_str(), 0);
}

// The save's new content before it replaces the file: an unnamed file in the target's folder
// where the file system has them, else a named one.
struct Copy {
  Descriptor fd;
  std::string name;  // empty while unnamed
};

Result<Copy> MakeCopy(int folder) {
  Copy copy{Descriptor(Retried([&] { return ::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666); })),
            {}};
  if (copy.fd.valid()) return copy;
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return LastError();
  copy.name = CopyName();
  copy.fd = Descriptor(Retried(
      [&] { return ::openat(folder, copy.name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666); }));
  if (!copy.fd.valid()) return LastError();
  return copy;
}

class PosixFileReader final : public FileReader {
 public:
  explicit PosixFileReader(Descriptor fd) : fd_(std::move(fd)) {}

  Result<std::size_t> ReadAt(std::uint64_t position, std::span<std::uint8_t> bytes) override {
    if (position == 0) return OsError{EINVAL};
    const ssize_t got = Retried(
        [&] { return ::pread(fd_.get(), bytes.data(), bytes.size(), static_cast<off_t>(position - 1)); });
    if (got >= 0) return static_cast<std::size_t>(got);
    return LastError();
  }

 private:
  Descriptor fd_;
};

// Where a save's writes go and how they become the file's.
struct Target {
  Descriptor fd;          // the copy, or the file itself when patched in place
  Descriptor folder;      // the real file's folder (a copy only)
  std::string name;       // the real file's name in it (a copy only)
  std::string copyName;   // the copy's name while it has one
  bool replaces = false;  // a copy that is renamed over the file, else linked in as a new one
  off_t length = 0;       // of the file when it was opened
};

class PosixFileWriter final : public FileWriter {
 public:
  explicit PosixFileWriter(Target target) : t_(std::move(target)) {}
  ~PosixFileWriter() override {
    if (t_.fd.valid()) (void)Abandon();
  }

  Status Reserve(std::uint64_t position, std::uint64_t length) override {
    if (position == 0) return Status::Failed(EINVAL);
    const off_t offset = static_cast<off_t>(position - 1);
    // Takes the blocks of holes inside the file too, which a write into them would need.
    if (Retried([&] { return ::fallocate(t_.fd.get(), 0, offset, static_cast<off_t>(length)); }) == 0)
      return Status::Ok();
    // A file system that cannot take space ahead (FUSE ones such as bindfs say so in more
    // than one way): the part of the range past the end is written as zeros, which takes
    // its space as well; holes inside stay holes.
    if (errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL) return LastError();
    return ZeroPastEnd(offset, static_cast<off_t>(length));
  }

  Status WriteAt(std::uint64_t position, std::span<const std::uint8_t> bytes) override {
    if (position == 0) return Status::Failed(EINVAL);
    return WriteAll(t_.fd.get(), static_cast<off_t>(position - 1), bytes);
  }

  Status Flush() override { return Synced(t_.fd.get()); }

  Status Abandon() override {
    if (!t_.fd.valid()) return Status::Ok();
    Status undone = Status::Ok();
    struct stat mine {};
    if (t_.folder.valid()) {
      // An unnamed copy goes with its descriptor; the file itself was never touched.
      if (!t_.copyName.empty() && ::unlinkat(t_.folder.get(), t_.copyName.c_str(), 0) != 0)
        undone = LastError();
    } else if (::fstat(t_.fd.get(), &mine) != 0) {
      undone = LastError();
    } else if (mine.st_size > t_.length && ::ftruncate(t_.fd.get(), t_.length) != 0) {
      undone = LastError();
    }
    const Status closed = Release();
    return undone.ok() ? closed : undone;
  }

  Status Commit() override {
    if (!t_.fd.valid()) return Status::Failed(EBADF);
    if (!t_.folder.valid()) return Release();  // patched in place: already the file's
    const int folder = t_.folder.get();
    // The copy's data reached the disk in Flush; only a name is missing. An unnamed copy is
    // linked in through procfs, which needs no privilege (AT_EMPTY_PATH does).
    auto linkCopy = [&](const char* name) {
      const std::string self = "/proc/self/fd/" + std::to_string(t_.fd.get());
      return ::linkat(AT_FDCWD, self.c_str(), folder, name, AT_SYMLINK_FOLLOW);
    };
    int moved = 0;
    if (!t_.replaces && t_.copyName.empty()) {
      moved = linkCopy(t_.name.c_str());  // refuses a file that appeared meanwhile
    } else {
      if (t_.copyName.empty()) {
        t_.copyName = CopyName();
        if (linkCopy(t_.copyName.c_str()) != 0) {
          t_.copyName.clear();
          const Status failed = LastError();
          (void)Abandon();
          return failed;
        }
      }
      moved = t_.replaces ? ::renameat(folder, t_.copyName.c_str(), folder, t_.name.c_str())
                          : ::linkat(folder, t_.copyName.c_str(), folder, t_.name.c_str(), 0);
      if (moved == 0 && !t_.replaces) (void)::unlinkat(folder, t_.copyName.c_str(), 0);
      if (moved == 0) t_.copyName.clear();
    }
    if (moved != 0) {
      const Status failed = LastError();
      (void)Abandon();
      return failed;
    }
    // The new name reaches the disk too: a power cut now finds the old file or the new one.
    const int synced = Retried([&] { return ::fsync(folder); });
    const Status folderSynced = synced == 0 || errno == EINVAL ? Status::Ok() : Status(LastError());
    const Status closed = Release();
    return folderSynced.ok() ? closed : folderSynced;
  }

 private:
  Status Release() {
    t_.folder = Descriptor();
    return ::close(t_.fd.release()) == 0 ? Status::Ok() : Status(LastError());
  }

  Status ZeroPastEnd(off_t offset, off_t length) {
    struct stat info {};
    if (::fstat(t_.fd.get(), &info) != 0) return LastError();
    const off_t from = std::max(offset, info.st_size);
    if (from >= offset + length) return Status::Ok();
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(offset + length - from), 0);
    return WriteAll(t_.fd.get(), from, zeros);
  }

  Target t_;
};

// A copy of the file that can take its place keeping all of it: owner, mode and every byte.
// Nothing where the folder takes no new file or a rename would lose what the file is: a
// second name (hard link), extended attributes (ACLs, labels), an owner this user cannot
// give, data past kLargestSaveCopy.
std::optional<Target> ReplacingCopy(const std::filesystem::path& real, const struct stat& info) {
  if (info.st_nlink != 1) return std::nullopt;
  Descriptor source(::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!source.valid()) return std::nullopt;
  struct stat same {};
  if (::fstat(source.get(), &same) != 0 || same.st_ino != info.st_ino || same.st_dev != info.st_dev)
    return std::nullopt;
  if (::flistxattr(source.get(), nullptr, 0) != 0) return std::nullopt;
  Target t;
  t.folder = Descriptor(::open(real.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!t.folder.valid()) return std::nullopt;
  RemoveLeftCopies(t.folder.get());
  Result<Copy> copy = MakeCopy(t.folder.get());
  if (!copy.ok()) return std::nullopt;
  t.fd = std::move(copy.value().fd);
  t.copyName = std::move(copy.value().name);
  t.name = real.filename();
  t.replaces = true;
  t.length = info.st_size;
  const bool kept = ::fchown(t.fd.get(), info.st_uid, info.st_gid) == 0 &&
                    ::fchmod(t.fd.get(), info.st_mode & 07777) == 0 &&
                    CopyData(source.get(), t.fd.get(), info.st_size).ok();
  if (!kept) {
    if (!t.copyName.empty()) (void)::unlinkat(t.folder.get(), t.copyName.c_str(), 0);
    return std::nullopt;
  }
  return t;
}

}  // namespace

PosixFileAccess::PosixFileAccess(std::filesystem::path winePrefix) : prefix_(std::move(winePrefix)) {}

Result<std::unique_ptr<FileReader>> PosixFileAccess::OpenForRead(const std::string& path) {
  const auto resolved = ResolveWindowsPath(prefix_, path);
  if (!resolved) return OsError{ENOENT};
  RegularFile opened = OpenRegularFile(*resolved);
  if (!opened.fd.valid()) return OsError{static_cast<std::uint32_t>(opened.error)};
  return std::unique_ptr<FileReader>(std::make_unique<PosixFileReader>(std::move(opened.fd)));
}

Result<std::unique_ptr<FileWriter>> PosixFileAccess::OpenForWrite(const std::string& path) {
  const auto resolved = ResolveWindowsPath(prefix_, path);
  if (!resolved) return OsError{ENOENT};
  // A file another program holds open is refused as Windows refuses it to a Windows program.
  if (OpenInAnotherProcess(*resolved)) return OsError{EBUSY};
  constexpr int kWrite = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  Descriptor fd(::open(resolved->c_str(), kWrite));
  if (!fd.valid() && errno == ENOENT) {
    // A new file appears whole at its commit, linked in from an unnamed or passing copy.
    std::error_code failed;
    const std::filesystem::path folder = std::filesystem::canonical(resolved->parent_path(), failed);
    if (failed) return OsError{static_cast<std::uint32_t>(failed.value())};
    Target t;
    t.folder = Descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!t.folder.valid()) return LastError();
    RemoveLeftCopies(t.folder.get());
    Result<Copy> copy = MakeCopy(t.folder.get());
    if (!copy.ok()) return OsError{copy.code()};
    t.fd = std::move(copy.value().fd);
    t.copyName = std::move(copy.value().name);
    t.name = resolved->filename();
    return std::unique_ptr<FileWriter>(std::make_unique<PosixFileWriter>(std::move(t)));
  }
  if (!fd.valid()) return LastError();
  struct stat info {};
  if (const Status regular = RequireRegularFile(fd.get(), info); !regular.ok())
    return OsError{regular.code()};
  // The file the name leads to, through any symbolic links: the copy replaces it, not a link.
  std::error_code failed;
  const std::filesystem::path real = std::filesystem::canonical(*resolved, failed);
  if (!failed) {
    if (std::optional<Target> copy = ReplacingCopy(real, info))
      return std::unique_ptr<FileWriter>(std::make_unique<PosixFileWriter>(std::move(*copy)));
  }
  // Patched in place, which only the caller's roll-back makes all or nothing: a folder that
  // takes no new file (read-only, immutable), or a file a copy could not stand in for.
  Target t;
  t.fd = std::move(fd);
  t.length = info.st_size;
  return std::unique_ptr<FileWriter>(std::make_unique<PosixFileWriter>(std::move(t)));
}

}  // namespace velquin
