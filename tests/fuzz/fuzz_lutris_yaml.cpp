// A Lutris game config as it comes: the YAML reader that takes the Wine prefixes from it.
#include <yaml-cpp/yaml.h>

#include <string>

#include "discovery/LutrisGameConfig.h"
#include "fuzz/FuzzCheck.h"

using namespace velquin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path home = "/home/player";
  try {
    const auto prefixes = LutrisPrefixes(text, home);
    if (!prefixes) {
      // Broken means not YAML, never a config the reader could not walk.
      bool isYaml = true;
      try {
        YAML::Load(text);
      } catch (const YAML::Exception&) {
        isYaml = false;
      }
      fuzz::Check(!isYaml, "YAML that the reader called broken");
      return 0;
    }
    fuzz::Check(prefixes->size() <= 2, "more prefixes than a config has sections");
    for (const std::filesystem::path& prefix : *prefixes) {
      fuzz::Check(prefix.is_absolute(), "a prefix that is not an absolute path");
      fuzz::Check(!prefix.string().starts_with("~"), "a prefix with its ~ not expanded");
    }
  } catch (...) {
    fuzz::Check(false, "an exception escaped the reader");
  }
  return 0;
}
