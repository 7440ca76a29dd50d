// A Wine prefix's system.reg as it comes: the reader, the registry queries over it, the game
// folder lookup, and the read that keeps only wanted keys against the read of the whole.
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "ZOVURFolder/ZOVURFolder.h"
#include "fuzz/FuzzCheck.h"
#include "platform/Utf8.h"
#include "posix/WinePrefixRegistry.h"
#include "wine/Prefix.h"
#include "wine/SystemReg.h"
#include "wine/Windows1252.h"

using namespace velquin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path prefix = fuzz::ScratchFolder("velquin-fuzz-reg");
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::ofstream(prefix / "system.reg", std::ios::binary | std::ios::trunc) << text;

  const Windows1252 cp;
  WinePrefixRegistry registry(Prefix::Open(prefix), cp);
  const std::string folder = LookUpGameFolder(registry, cp);
  fuzz::Check(folder.find('\0') == std::string::npos, "the game folder holds a zero");
  fuzz::Check(EncodeUtf8(DecodeUtf8(folder)) == folder, "the game folder is not UTF-8");
  for (char32_t ch : DecodeUtf8(folder))
    fuzz::Check(cp.CharToByte(ch).has_value(), "a character not in 1252");

  // The value's two queries agree as RegQueryValueExA's do, and a short buffer is refused.
  RegistryKey key = 0;
  if (registry.OpenKey(kLocalMachine, kGameKeyName, kGameKeyAccess, key) == kRegOk) {
    std::uint32_t type = 0, size1 = 0;
    if (registry.QueryValue(key, "Path", type, nullptr, size1) == kRegOk) {
      std::vector<std::uint8_t> buffer(size1 + 1);
      std::uint32_t size2 = size1;
      fuzz::Check(registry.QueryValue(key, "Path", type, buffer.data(), size2) == kRegOk && size2 == size1,
                  "the second query disagrees with the first");
      std::uint32_t shorter = size1 - 1;
      if (size1 > 0) {
        fuzz::Check(registry.QueryValue(key, "Path", type, buffer.data(), shorter) == kRegMoreData,
                    "a short buffer was filled");
      }
    }
    fuzz::Check(registry.CloseKey(key) == kRegOk, "the key did not close");
  }

  std::istringstream in(text);
  const SystemReg reg = ParseSystemReg(in);
  for (const auto& [path, keyData] : reg.keys) (void)FollowLinks(reg, path);

  // The filtered read holds exactly the wanted keys and those above them, as the whole read has them.
  static const std::set<std::string> wanted = {
      "software\\microsoft\\windows\\currentversion\\app paths\\zovur.exe",
      "software\\wow6432node\\microsoft\\windows\\currentversion\\app paths\\zovur.exe",
      "system\\currentcontrolset\\control\\nls\\codepage", "software\\caf\u00e9\\wanted"};
  const SystemReg filtered = ParseSystemReg(text, wanted);
  fuzz::Check(filtered.win64 == reg.win64, "the filtered read lost the arch");
  std::map<std::string, RegKeyData> expected;
  for (const auto& [path, keyData] : reg.keys) {
    for (const std::string& want : wanted) {
      if (want == path || want.starts_with(path + "\\")) expected.emplace(path, keyData);
    }
  }
  fuzz::Check(filtered.keys.size() == expected.size(), "the filtered read kept other keys");
  for (const auto& [path, keyData] : expected) {
    const auto kept = filtered.keys.find(path);
    fuzz::Check(kept != filtered.keys.end() && kept->second.isLink == keyData.isLink &&
                    kept->second.values.size() == keyData.values.size(),
                "the filtered read lost a key: " + path);
    for (const auto& [name, value] : keyData.values) {
      const auto same = kept->second.values.find(name);
      fuzz::Check(same != kept->second.values.end() && same->second.type == value.type &&
                      same->second.text == value.text && same->second.bytes == value.bytes,
                  "the filtered read changed a value of " + path);
    }
  }
  return 0;
}
