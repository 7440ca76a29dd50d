#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/Result.h"

namespace velquin {

// A file open for binary read; closed when it goes. Positions are 1-based.
class FileReader {
 public:
  virtual ~FileReader() = default;

  // Reads up to bytes.size() bytes from the position on: fewer at the end of the file, none
  // past it. Gives how many it read.
  virtual Result<std::size_t> ReadAt(std::uint64_t position, std::span<std::uint8_t> bytes) = 0;
};

// How a backend names the copy a save writes, while the copy has a name: no player file's
// name. A save removes such files that a killed save left in its folder.
inline constexpr std::string_view kSaveCopyPrefix = ".velquin-save-";

// A file holding more data than this is patched in place rather than copied, so that a save
// never copies for long nor takes much disk (a player file is some 10 KB; holes do not count).
inline constexpr std::uint64_t kLargestSaveCopy = 64u << 20;

// A save's writes to one file, which become the file's content all at once at Commit where
// the backend can: it writes a copy and puts it in the file's place in one step, so that a
// program killed or a machine losing power midway leaves the old file whole. Where it cannot
// (a folder that takes no new file, a file a copy could not stand in for), the writes go to
// the file itself, and only the caller's roll-back before Abandon keeps a failure whole.
// Positions are 1-based: position 1 is the file's first byte. A writer let go without Commit
// is abandoned.
class FileWriter {
 public:
  virtual ~FileWriter() = default;

  // Takes the disk space for the bytes from the position on, growing the file where they lie
  // past its end (the new bytes read as zero), so that writing them later cannot run out of
  // space. A disk too full for them is an error, and nothing else of the file changes.
  virtual Status Reserve(std::uint64_t position, std::uint64_t length) = 0;

  // Stores the bytes from the position on in one positioned write. Writing past the end
  // extends the file; the gap reads as zero bytes.
  virtual Status WriteAt(std::uint64_t position, std::span<const std::uint8_t> bytes) = 0;

  // Makes the system store the writes so far on the disk, and reports what it says of them:
  // errors of a disk or network file system that show only when the writes reach it.
  virtual Status Flush() = 0;

  // Ends a failed save and releases the file: a copy is thrown away, a file the save was to
  // create does not appear, a file patched in place is cut back to the length it had.
  virtual Status Abandon() = 0;

  // Makes the flushed writes the file's content and releases it; an error leaves the file as
  // it was, unless it was patched in place.
  virtual Status Commit() = 0;
};

// Binary file access. Paths are UTF-8 Windows paths such as "C:\Games\DF\plyr.sav".
class FileAccess {
 public:
  virtual ~FileAccess() = default;

  // Opens a file for binary read. A missing or unreadable file, a folder, a device or a pipe
  // is an error.
  virtual Result<std::unique_ptr<FileReader>> OpenForRead(const std::string& path) = 0;

  // Opens the file for binary write without truncating it and without locking it; a missing
  // file is created at Commit. A file or folder that cannot be written is an error.
  virtual Result<std::unique_ptr<FileWriter>> OpenForWrite(const std::string& path) = 0;
};

}  // namespace velquin
