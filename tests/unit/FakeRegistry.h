#pragma once

#include <cstring>
#include <optional>
#include <string>

#include "ZOVURFolder/ZOVURFolder.h"
#include "platform/Registry.h"

namespace velquin::testing {

// The game's key alone, answering as RegQueryValueExA does, and counting what is left open.
class FakeRegistry final : public Registry {
 public:
  std::int32_t OpenKey(RegistryKey root, const std::string& subKey, std::uint32_t,
                       RegistryKey& key) override {
    if (openStatus != kRegOk) return openStatus;
    if (root != kLocalMachine || subKey != kGameKeyName) return kRegFileNotFound;
    key = 42;
    ++openKeys;
    return kRegOk;
  }
  std::int32_t QueryValue(RegistryKey key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                          std::uint32_t& size) override {
    if (key != 42) return kRegInvalidHandle;
    if (name != "Path" || !path) return kRegFileNotFound;
    type = kRegString;
    const auto needed = static_cast<std::uint32_t>(path->size());
    if (data && size < needed) {
      size = needed;
      return kRegMoreData;
    }
    if (data) std::memcpy(data, path->data(), needed);
    size = needed;
    return kRegOk;
  }
  std::int32_t CloseKey(RegistryKey key) override {
    if (key == 42) --openKeys;
    return kRegOk;
  }

  std::optional<std::string> path;  // the REG_SZ value "Path" as stored, terminator included
  std::int32_t openStatus = kRegOk;
  int openKeys = 0;
};

}  // namespace velquin::testing
