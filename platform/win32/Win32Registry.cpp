#include "platform/win32/Win32Registry.h"

#include <windows.h>

namespace velquin {

namespace {
HKEY AsHkey(RegistryKey key) {
  return reinterpret_cast<HKEY>(key);
}
}  // namespace

std::int32_t Win32Registry::OpenKey(RegistryKey root, const std::string& subKey, std::uint32_t access,
                                    RegistryKey& key) {
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExA(AsHkey(root), subKey.c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) key = reinterpret_cast<RegistryKey>(opened);
  return status;
}

std::int32_t Win32Registry::QueryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                                       std::uint8_t* data, std::uint32_t& size) {
  DWORD valueType = 0;
  DWORD byteCount = size;
  const LONG status = RegQueryValueExA(AsHkey(key), valueName.c_str(), nullptr, &valueType, data, &byteCount);
  type = valueType;
  size = byteCount;
  return status;
}

std::int32_t Win32Registry::CloseKey(RegistryKey key) {
  return RegCloseKey(AsHkey(key));
}

}  // namespace velquin
