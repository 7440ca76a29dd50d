#pragma once

#include <cstring>
#include <map>
#include <string>

#include "ZOVURFolder/ZOVURFolder.h"
#include "platform/Registry.h"

namespace velquin::testing {

// A registry with one key, answering as RegQueryValueExA does, and counting what is left open.
class FakeRegistry final : public Registry {
 public:
  struct Value {
    std::uint32_t type;
    std::string data;  // the ANSI bytes as stored, terminator included where there is one
  };

  std::int32_t OpenKey(RegistryKey root, const std::string& subKey, std::uint32_t access,
                       RegistryKey& key) override {
    lastAccess = access;
    if (openStatus != kRegOk) return openStatus;
    if (root != kLocalMachine || subKey != kGameKeyName) return kRegFileNotFound;
    key = 42;
    ++openKeys;
    return kRegOk;
  }
  std::int32_t QueryValue(RegistryKey key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                          std::uint32_t& size) override {
    if (key != 42) return kRegInvalidHandle;
    const auto found = values.find(name);
    if (found == values.end()) return kRegFileNotFound;
    type = found->second.type;
    const auto needed = static_cast<std::uint32_t>(found->second.data.size());
    if (data && size < needed) {
      size = needed;
      return kRegMoreData;
    }
    if (data) std::memcpy(data, found->second.data.data(), needed);
    size = needed;
    return kRegOk;
  }
  std::int32_t CloseKey(RegistryKey key) override {
    if (key == 42) --openKeys;
    return kRegOk;
  }

  std::map<std::string, Value> values;
  std::int32_t openStatus = kRegOk;
  std::uint32_t lastAccess = 0;
  int openKeys = 0;
};

}  // namespace velquin::testing
