#pragma once

#include "platform/Registry.h"

namespace velquin {

class Win32Registry final : public Registry {
 public:
  std::int32_t OpenKey(RegistryKey root, const std::string& subKey, std::uint32_t access,
                       RegistryKey& key) override;
  std::int32_t QueryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                          std::uint8_t* data, std::uint32_t& size) override;
  std::int32_t CloseKey(RegistryKey key) override;
};

}  // namespace velquin
