#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/PosixHandles.h"
#include "wine/ReadProblem.h"

namespace velquin {

// A regular file open for reading, and what fstat says of it; or, with no descriptor, the
// errno of the step that failed: EISDIR for a folder and EINVAL for anything else that is not a
// regular file, whose kind `info` then tells.
struct RegularFile {
  Descriptor fd;
  struct stat info {};
  int error = 0;
};

// Opens a regular file for reading without ever opening a device: the name is looked at first,
// and only a regular file is opened. Since the name may be given to something else in between,
// the open cannot wait (a FIFO) or take a terminal, and the descriptor must be the very file
// that was looked at (else it is looked at again, a few times at most: EAGAIN after that).
// The descriptor reads blocking, as a regular file does.
RegularFile OpenRegularFile(const std::filesystem::path& file);

// Which version of a file was read: a file that Wine rewrites gets a new inode, one edited in
// place a new change time or size.
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::timespec modified{};
  std::timespec changed{};
  bool operator==(const FileStamp& other) const;
};

// A file that another program wrote (a prefix's system.reg, a launcher's config): its whole
// text, or why it was not read. Anyone may have put a FIFO, a device, a folder or a huge file
// in its place; none of them is opened for reading, waited on or read into memory.
struct OutsideFile {
  std::optional<std::string> text;
  ReadProblem refusal;  // none when read or when there is no such file
  FileStamp stamp;
  bool missing = false;  // no file there at all: not worth a mention
};

// Far above any launcher's config or library list.
inline constexpr std::int64_t kMaxConfigFileSize = std::int64_t{1} << 20;
// A prefix with many programs installed has a system.reg of some tens of MB.
inline constexpr std::int64_t kMaxSystemRegSize = std::int64_t{256} << 20;

OutsideFile ReadOutsideFile(const std::filesystem::path& file, std::int64_t maxSize);

// The stamp of the file as it is now; nothing when it cannot be looked at.
std::optional<FileStamp> StampOf(const std::filesystem::path& file);

}  // namespace velquin
