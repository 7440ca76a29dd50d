#include "ZOVURFolder/ZOVURFolder.h"

#include <algorithm>
#include <vector>

#include "platform/UniqueHandle.h"

namespace velquin {

std::int32_t QueryValueData(Registry& registry, const CodePage& codePage, RegistryKey key,
                            const std::string& valueName, std::optional<std::string>& value) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  std::int32_t status = registry.QueryValue(key, valueName, type, nullptr, size);
  if (status != kRegOk) return status;
  if (type != kRegString) return kUnsupportedValueType;

  std::vector<std::uint8_t> buffer(size, 0);
  status = registry.QueryValue(key, valueName, type, buffer.data(), size);
  // A zero-length value has no terminator to drop: it yields nothing, with the query's status.
  if (status != kRegOk || type != kRegString || size == 0) return status;

  auto end = buffer.begin() + std::min<std::size_t>(size - 1, buffer.size());
  // Data stored without its terminator may hold a zero earlier; the text ends there.
  end = std::find(buffer.begin(), end, std::uint8_t{0});
  value = BytesToText(codePage, std::span<const std::uint8_t>(buffer.data(), end - buffer.begin()));
  return status;
}

namespace {

// A key and the registry it is open in.
struct OpenKey {
  Registry* registry = nullptr;
  RegistryKey key = 0;
  bool operator==(const OpenKey&) const = default;
};

void CloseOpenKey(OpenKey open) {
  open.registry->CloseKey(open.key);
}

// An open key, closed on every way out of the lookup.
using OpenedKey = UniqueHandle<OpenKey, CloseOpenKey, OpenKey{}>;

}  // namespace

std::optional<std::string> ReadRegistryValue(Registry& registry, const CodePage& codePage,
                                             RegistryKey rootKey, const std::string& keyName,
                                             const std::string& valueName) {
  RegistryKey key = 0;
  if (registry.OpenKey(rootKey, keyName, kGameKeyAccess, key) != kRegOk) return std::nullopt;
  const OpenedKey opened(OpenKey{&registry, key});
  std::optional<std::string> value;
  QueryValueData(registry, codePage, key, valueName, value);
  return value;
}

std::string LookUpGameFolder(Registry& registry, const CodePage& codePage) {
  return ReadRegistryValue(registry, codePage, kLocalMachine, kGameKeyName, kGameValueName)
      .value_or(std::string());
}

}  // namespace velquin
