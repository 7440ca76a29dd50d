#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <cstdint>

namespace velquin {

namespace {
// The predefined keys are 32-bit values that Windows sign-extends to a 64-bit handle
// (HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 there); an opened key is a handle as it stands.
HKEY AsHkey(RegistryKey key) {
  if (key >= 0x80000000u && key <= 0x800000FFu) {
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(key)));
  }
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
