#pragma once

#include "platform/FileAccess.h"

namespace velquin {

class Win32FileAccess final : public FileAccess {
 public:
  Result<std::unique_ptr<FileReader>> OpenForRead(const std::string& path) override;
  Result<std::unique_ptr<FileWriter>> OpenForWrite(const std::string& path) override;
};

}  // namespace velquin
