#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileAccess.h"

namespace velquin::testing {

// One player file held in memory, whatever path is asked for, patched in place, with failures
// to order: the open for writing refused, every read failing, a full disk (no byte past the
// file's end), the n-th write (0-based) failing, having stored nothing or the first half of its
// bytes, the flush or the commit failing.
class MemoryFiles final : public FileAccess {
 public:
  std::optional<Bytes> content;  // nothing: there is no file
  bool refuseOpen = false;
  bool failRead = false;
  bool diskFull = false;
  int failingWrite = -1;
  bool halfWrite = false;
  bool failFlush = false;
  bool failCommit = false;
  std::vector<std::string> paths;  // every path asked for, in order

  Result<std::unique_ptr<FileReader>> OpenForRead(const std::string& path) override {
    paths.push_back(path);
    if (!content) return OsError{2};
    return std::unique_ptr<FileReader>(std::make_unique<Reader>(*content, failRead));
  }

  Result<std::unique_ptr<FileWriter>> OpenForWrite(const std::string& path) override {
    paths.push_back(path);
    if (refuseOpen) return OsError{5};
    const bool created = !content;
    if (created) content.emplace();
    return std::unique_ptr<FileWriter>(std::make_unique<Writer>(*this, created));
  }

 private:
  class Reader final : public FileReader {
   public:
    Reader(const Bytes& file, bool fail) : file_(file), fail_(fail) {}
    Result<std::size_t> ReadAt(std::uint64_t position, std::span<std::uint8_t> bytes) override {
      if (fail_) return OsError{5};
      const std::size_t from = std::min<std::size_t>(position - 1, file_.size());
      const std::size_t count = std::min(bytes.size(), file_.size() - from);
      std::copy_n(file_.begin() + static_cast<std::ptrdiff_t>(from), count, bytes.begin());
      return count;
    }

   private:
    const Bytes& file_;
    bool fail_;
  };

  class Writer final : public FileWriter {
   public:
    Writer(MemoryFiles& files, bool created)
        : files_(files), created_(created), length_(files.content->size()) {}
    Status Reserve(std::uint64_t position, std::uint64_t length) override {
      return Grow(position - 1 + length) ? Status::Ok() : Status::Failed(28);
    }
    Status WriteAt(std::uint64_t position, std::span<const std::uint8_t> bytes) override {
      const bool fails = writes_++ == files_.failingWrite;
      if (fails && !files_.halfWrite) return Status::Failed(5);
      if (fails) bytes = bytes.first(bytes.size() / 2);
      if (!Grow(position - 1 + bytes.size())) return Status::Failed(28);
      std::copy(bytes.begin(), bytes.end(),
                files_.content->begin() + static_cast<std::ptrdiff_t>(position - 1));
      return fails ? Status::Failed(5) : Status::Ok();
    }
    Status Abandon() override {
      if (created_)
        files_.content.reset();
      else
        files_.content->resize(length_);
      return Status::Ok();
    }
    Status Flush() override { return files_.failFlush ? Status::Failed(5) : Status::Ok(); }
    Status Commit() override { return files_.failCommit ? Status::Failed(5) : Status::Ok(); }

   private:
    bool Grow(std::size_t end) {
      Bytes& file = *files_.content;
      if (end <= file.size()) return true;
      if (files_.diskFull) return false;
      file.resize(end, 0);
      return true;
    }
    MemoryFiles& files_;
    bool created_;
    std::size_t length_;
    int writes_ = 0;
  };
};

}  // namespace velquin::testing
