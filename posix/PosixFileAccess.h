#pragma once

#include <filesystem>

#include "platform/FileAccess.h"

namespace velquin {

// Files of a Wine prefix's drives, or plain POSIX paths.
class PosixFileAccess final : public FileAccess {
 public:
  explicit PosixFileAccess(std::filesystem::path winePrefix);

  Result<std::unique_ptr<FileReader>> OpenForRead(const std::string& path) override;
  Result<std::unique_ptr<FileWriter>> OpenForWrite(const std::string& path) override;

 private:
  std::filesystem::path prefix_;
};

}  // namespace velquin
