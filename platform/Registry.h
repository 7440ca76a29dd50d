#pragma once

#include <cstdint>
#include <string>

namespace velquin {

// A registry key handle as the registry API hands it out (HKEY).
using RegistryKey = std::uintptr_t;

inline constexpr RegistryKey kLocalMachine = 0x80000002;  // HKEY_LOCAL_MACHINE

inline constexpr std::uint32_t kRegString = 1;        // REG_SZ
inline constexpr std::uint32_t kRegExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::uint32_t kRegBinary = 3;        // REG_BINARY
inline constexpr std::uint32_t kRegDword = 4;         // REG_DWORD
inline constexpr std::uint32_t kRegLink = 6;          // REG_LINK
inline constexpr std::uint32_t kRegMultiString = 7;   // REG_MULTI_SZ

inline constexpr std::uint32_t kKeyRead = 0x20019;      // KEY_READ
inline constexpr std::uint32_t kKey32BitView = 0x0200;  // KEY_WOW64_32KEY

// Registry status codes, as the Windows registry API returns them.
inline constexpr std::int32_t kRegOk = 0;
inline constexpr std::int32_t kRegFileNotFound = 2;
inline constexpr std::int32_t kRegInvalidHandle = 6;
inline constexpr std::int32_t kRegMoreData = 234;

// The ANSI registry calls, one to one: key and value names are ANSI strings, string data
// comes back as ANSI bytes with their terminating zero.
class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExA. On failure `key` is left as it was.
  virtual std::int32_t OpenKey(RegistryKey root, const std::string& subKey, std::uint32_t access,
                               RegistryKey& key) = 0;

  // RegQueryValueExA. With `data` null only the type and the size in bytes are asked for;
  // with a buffer, `size` gives its capacity and receives the byte count of the data.
  virtual std::int32_t QueryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                                  std::uint8_t* data, std::uint32_t& size) = 0;

  // RegCloseKey.
  virtual std::int32_t CloseKey(RegistryKey key) = 0;
};

}  // namespace velquin
