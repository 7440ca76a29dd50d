#pragma once

#include <filesystem>
#include <map>

#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "wine/SystemReg.h"

namespace velquin {

// HKEY_LOCAL_MACHINE as a 32-bit program inside a Wine prefix sees it, read from the
// prefix's system.reg each time a key is opened.
class WinePrefixRegistry final : public Registry {
 public:
  WinePrefixRegistry(std::filesystem::path winePrefix, const CodePage& codePage);

  std::int32_t OpenKey(RegistryKey root, const std::string& subKey, std::uint32_t access,
                       RegistryKey& key) override;
  std::int32_t QueryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                          std::uint8_t* data, std::uint32_t& size) override;
  std::int32_t CloseKey(RegistryKey key) override;

 private:
  std::filesystem::path prefix_;
  const CodePage& codePage_;
  std::map<RegistryKey, RegValues> openKeys_;
  RegistryKey nextKey_ = 0x100;
};

}  // namespace velquin
