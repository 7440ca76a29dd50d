#include "posix/WinePrefixRegistry.h"

#include <cstring>

#include "platform/Utf8.h"

namespace velquin {

namespace {

// RegQueryValueExA's view of string data: the ANSI bytes, each character the code page
// cannot hold given as "?".
std::vector<std::uint8_t> AnsiData(const RegValue& value, const CodePage& codePage) {
  if (value.type != kRegString && value.type != kRegExpandString && value.type != kRegMultiString) {
    return value.bytes;
  }
  std::vector<std::uint8_t> bytes;
  const std::u16string& units = value.text;
  for (std::size_t i = 0; i < units.size();) {
    const char32_t ch = NextUtf16(units, i);
    bytes.push_back(ch == 0 ? 0 : codePage.CharToByte(ch).value_or('?'));
  }
  return bytes;
}

}  // namespace

WinePrefixRegistry::WinePrefixRegistry(std::shared_ptr<const Prefix> prefix, const CodePage& codePage)
    : prefix_(std::move(prefix)), codePage_(codePage) {}

std::int32_t WinePrefixRegistry::OpenKey(RegistryKey root, const std::string& subKey, std::uint32_t,
                                         RegistryKey& key) {
  if (root != kLocalMachine) return kRegFileNotFound;
  std::optional<RegValues> values = prefix_->MachineKey(subKey);
  if (!values) return kRegFileNotFound;
  key = nextKey_++;
  openKeys_[key] = std::move(*values);
  return kRegOk;
}

std::int32_t WinePrefixRegistry::QueryValue(RegistryKey key, const std::string& valueName,
                                            std::uint32_t& type, std::uint8_t* data, std::uint32_t& size) {
  const auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return kRegInvalidHandle;
  const auto found = open->second.find(FoldCase(valueName));
  if (found == open->second.end()) return kRegFileNotFound;

  const std::vector<std::uint8_t> ansi = AnsiData(found->second, codePage_);
  type = found->second.type;
  const auto needed = static_cast<std::uint32_t>(ansi.size());
  if (data != nullptr && size < needed) {
    size = needed;
    return kRegMoreData;
  }
  if (data != nullptr && needed > 0) std::memcpy(data, ansi.data(), needed);
  size = needed;
  return kRegOk;
}

std::int32_t WinePrefixRegistry::CloseKey(RegistryKey key) {
  return openKeys_.erase(key) == 1 ? kRegOk : kRegInvalidHandle;
}

}  // namespace velquin
