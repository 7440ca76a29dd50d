#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileAccess.h"

namespace velquin::testing {

// One player file held in memory, whatever path is asked for, with failures to order: the
// open for writing refused, the n-th write (0-based) failing, the close failing.
class MemoryFiles final : public FileAccess {
 public:
  std::optional<Bytes> content;  // nothing: there is no file
  bool refuseOpen = false;
  int failingWrite = -1;
  bool failClose = false;
  int opens = 0;
  std::vector<std::string> paths;  // every path asked for, in order

  Result<Bytes> ReadWholeFile(const std::string& path) override {
    paths.push_back(path);
    if (!content) return OsError{2};
    return *content;
  }

  Result<std::unique_ptr<FileWriter>> OpenForWrite(const std::string& path) override {
    paths.push_back(path);
    ++opens;
    if (refuseOpen) return OsError{5};
    if (!content) content.emplace();
    return std::unique_ptr<FileWriter>(std::make_unique<Writer>(*this));
  }

 private:
  class Writer final : public FileWriter {
   public:
    explicit Writer(MemoryFiles& files) : files_(files) {}
    Status WriteAt(std::uint64_t position, std::span<const std::uint8_t> bytes) override {
      if (writes_++ == files_.failingWrite) return Status::Failed(28);
      Bytes& file = *files_.content;
      const std::size_t offset = position - 1;
      if (file.size() < offset + bytes.size()) file.resize(offset + bytes.size(), 0);
      std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
      return Status::Ok();
    }
    Status Close() override { return files_.failClose ? Status::Failed(5) : Status::Ok(); }

   private:
    MemoryFiles& files_;
    int writes_ = 0;
  };
};

}  // namespace velquin::testing
