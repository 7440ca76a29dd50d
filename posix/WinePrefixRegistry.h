#pragma once

#include <map>
#include <memory>

#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "wine/Prefix.h"

namespace velquin {

// HKEY_LOCAL_MACHINE as a 32-bit program inside a Wine prefix sees it, with the ANSI bytes of
// the given code page. Keys come from the prefix's one read of system.reg while the file is
// unchanged; a change made since (the player moved the game) is read when the key is opened.
class WinePrefixRegistry final : public Registry {
 public:
  WinePrefixRegistry(std::shared_ptr<const Prefix> prefix, const CodePage& codePage);

  std::int32_t OpenKey(RegistryKey root, const std::string& subKey, std::uint32_t access,
                       RegistryKey& key) override;
  std::int32_t QueryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                          std::uint8_t* data, std::uint32_t& size) override;
  std::int32_t CloseKey(RegistryKey key) override;

 private:
  std::shared_ptr<const Prefix> prefix_;
  const CodePage& codePage_;
  std::map<RegistryKey, RegValues> openKeys_;
  RegistryKey nextKey_ = 0x100;
};

}  // namespace velquin
