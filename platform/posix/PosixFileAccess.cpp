#include "platform/posix/PosixFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/OpenFileHolders.h"
#include "wine/Descriptor.h"
#include "wine/WinePrefix.h"

namespace velquin {

namespace {

OsError LastError() {
  return OsError{static_cast<std::uint32_t>(errno)};
}

class PosixFileWriter final : public FileWriter {
 public:
  explicit PosixFileWriter(int fd) : fd_(fd) {}

  Status WriteAt(std::uint64_t position, std::span<const std::uint8_t> bytes) override {
    if (position == 0) return Status::Failed(EINVAL);
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t written = ::pwrite(fd_.get(), bytes.data() + done, bytes.size() - done,
                                       static_cast<off_t>(position - 1 + done));
      if (written < 0) {
        if (errno == EINTR) continue;
        return LastError();
      }
      done += static_cast<std::size_t>(written);
    }
    return Status::Ok();
  }

  Status Close() override {
    if (!fd_.valid()) return Status::Ok();
    return ::close(fd_.release()) == 0 ? Status::Ok() : Status(LastError());
  }

 private:
  Descriptor fd_;
};

}  // namespace

PosixFileAccess::PosixFileAccess(std::filesystem::path winePrefix) : prefix_(std::move(winePrefix)) {}

Result<Bytes> PosixFileAccess::ReadWholeFile(const std::string& path) {
  const auto resolved = ResolveWindowsPath(prefix_, path);
  if (!resolved) return OsError{ENOENT};
  // O_NONBLOCK: a FIFO in the file's place must not wait for a writer; it is refused below.
  Descriptor fd(::open(resolved->c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return LastError();
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return LastError();
  if (S_ISDIR(info.st_mode)) return OsError{EISDIR};
  if (!S_ISREG(info.st_mode)) return OsError{EINVAL};
  if (static_cast<std::uint64_t>(info.st_size) > kMaxReadableFileSize) return OsError{EFBIG};

  Bytes content(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t got = ::read(fd.get(), content.data() + done, content.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return LastError();
    if (got == 0) break;  // the file shrank since fstat
    done += static_cast<std::size_t>(got);
  }
  content.resize(done);
  return content;
}

Result<std::unique_ptr<FileWriter>> PosixFileAccess::OpenForWrite(const std::string& path) {
  const auto resolved = ResolveWindowsPath(prefix_, path);
  if (!resolved) return OsError{ENOENT};
  // A file another program holds open is refused as Windows refuses it to a Windows program.
  if (OpenInAnotherProcess(*resolved)) return OsError{EBUSY};
  // Nor may a FIFO or a device take the writes: opened without waiting, then refused.
  Descriptor fd(::open(resolved->c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
  if (!fd.valid()) return LastError();
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return LastError();
  if (!S_ISREG(info.st_mode)) return OsError{EINVAL};
  // Back to blocking writes for the file itself.
  if (::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK) != 0) return LastError();
  return std::unique_ptr<FileWriter>(std::make_unique<PosixFileWriter>(fd.release()));
}

}  // namespace velquin
