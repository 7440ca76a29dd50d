#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/CodePage.h"
#include "platform/Result.h"

namespace velquin {

// A file open for binary write. Positions are 1-based: position 1 is the file's first byte.
class FileWriter {
 public:
  virtual ~FileWriter() = default;

  // Stores the bytes from the position on in one positioned write. Writing past the end
  // extends the file; the gap reads as zero bytes.
  virtual Status WriteAt(std::uint64_t position, std::span<const std::uint8_t> bytes) = 0;

  // Releases the file; reports what the system says of the last writes.
  virtual Status Close() = 0;
};

// Binary file access. Paths are UTF-8 Windows paths such as "C:\Games\DF\plyr.sav".
class FileAccess {
 public:
  virtual ~FileAccess() = default;

  // One read pass: opens the file for binary read, takes its whole content and closes it.
  // A missing or unreadable file is an error.
  virtual Result<Bytes> ReadWholeFile(const std::string& path) = 0;

  // Opens the file for binary write without truncating it and without locking it;
  // a missing file is created empty. A file or folder that cannot be written is an error.
  virtual Result<std::unique_ptr<FileWriter>> OpenForWrite(const std::string& path) = 0;
};

// No player file comes near this; a larger file is treated as unreadable rather than
// exhausting a 32-bit address space.
inline constexpr std::uint64_t kMaxReadableFileSize = 64ull * 1024 * 1024;

}  // namespace velquin
