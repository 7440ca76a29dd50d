#include "posix/PosixFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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
    const ssize_t written = ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + done);
    if (written < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    done += static_cast<std::size_t>(written);
  }
  return Status::Ok();
}

class PosixFileReader final : public FileReader {
 public:
  explicit PosixFileReader(Descriptor fd) : fd_(std::move(fd)) {}

  Result<std::size_t> ReadAt(std::uint64_t position, std::span<std::uint8_t> bytes) override {
    if (position == 0) return OsError{EINVAL};
    for (;;) {
      const ssize_t got = ::pread(fd_.get(), bytes.data(), bytes.size(), static_cast<off_t>(position - 1));
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) return LastError();
    }
  }

 private:
  Descriptor fd_;
};

class PosixFileWriter final : public FileWriter {
 public:
  PosixFileWriter(Descriptor fd, std::filesystem::path path, bool created, off_t length)
      : fd_(std::move(fd)), path_(std::move(path)), created_(created), length_(length) {}

  Status Reserve(std::uint64_t position, std::uint64_t length) override {
    if (position == 0) return Status::Failed(EINVAL);
    const off_t offset = static_cast<off_t>(position - 1);
    // Takes the blocks of holes inside the file too, which a write into them would need.
    int error = 0;
    do {
      error = ::fallocate(fd_.get(), 0, offset, static_cast<off_t>(length)) == 0 ? 0 : errno;
    } while (error == EINTR);
    if (error == EOPNOTSUPP) return ZeroPastEnd(offset, static_cast<off_t>(length));
    return error == 0 ? Status::Ok() : Status::Failed(static_cast<std::uint32_t>(error));
  }

  Status WriteAt(std::uint64_t position, std::span<const std::uint8_t> bytes) override {
    if (position == 0) return Status::Failed(EINVAL);
    return WriteAll(fd_.get(), static_cast<off_t>(position - 1), bytes);
  }

  Status Flush() override {
    int result = 0;
    do {
      result = ::fdatasync(fd_.get());
    } while (result != 0 && errno == EINTR);
    return result == 0 ? Status::Ok() : Status(LastError());
  }

  Status Abandon() override {
    Status undone = Status::Ok();
    struct stat mine {
    }, named{};
    if (::fstat(fd_.get(), &mine) != 0) {
      undone = LastError();
    } else if (created_) {
      // Removed by name while still open, and only if the name still leads to this file.
      const bool same =
          ::stat(path_.c_str(), &named) == 0 && named.st_dev == mine.st_dev && named.st_ino == mine.st_ino;
      if (same && ::unlink(path_.c_str()) != 0) undone = LastError();
    } else if (mine.st_size > length_ && ::ftruncate(fd_.get(), length_) != 0) {
      undone = LastError();
    }
    const Status closed = Close();
    return undone.ok() ? closed : undone;
  }

  Status Close() override {
    if (!fd_.valid()) return Status::Ok();
    return ::close(fd_.release()) == 0 ? Status::Ok() : Status(LastError());
  }

 private:
  // A file system that cannot take space ahead (some FUSE ones): the part of the range past
  // the end is written as zeros, which takes its space as well; holes inside stay holes.
  Status ZeroPastEnd(off_t offset, off_t length) {
    struct stat info {};
    if (::fstat(fd_.get(), &info) != 0) return LastError();
    const off_t from = std::max(offset, info.st_size);
    if (from >= offset + length) return Status::Ok();
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(offset + length - from), 0);
    return WriteAll(fd_.get(), from, zeros);
  }

  Descriptor fd_;
  std::filesystem::path path_;
  bool created_;
  off_t length_;  // when the file was opened
};

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
  // Created only if the exclusive open made it: a failed save removes no file that was there.
  constexpr int kWrite = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  bool created = true;
  int raw = ::open(resolved->c_str(), kWrite | O_CREAT | O_EXCL, 0666);
  if (raw < 0 && errno == EEXIST) {
    created = false;
    raw = ::open(resolved->c_str(), kWrite);
  }
  Descriptor fd(raw);
  if (!fd.valid()) return LastError();
  struct stat info {};
  if (const Status regular = RequireRegularFile(fd.get(), info); !regular.ok())
    return OsError{regular.code()};
  return std::unique_ptr<FileWriter>(
      std::make_unique<PosixFileWriter>(std::move(fd), *resolved, created, info.st_size));
}

}  // namespace velquin
