// A Lutris game config or a Bottles settings file as it comes: the YAML readers that take the
// Wine prefixes and the bottles' places from them.
#include <yaml-cpp/yaml.h>

#include <string>

#include "discovery/LauncherSettings.h"
#include "discovery/LutrisGameConfig.h"
#include "fuzz/FuzzCheck.h"

using namespace velquin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path home = "/home/player";
  try {
    const auto game = ReadLutrisGame(text, home);
    const auto bottlesPath = BottlesSetting(text, "custom_bottles_path");
    fuzz::Check(!game == !bottlesPath, "the two readers disagree on what is YAML");
    if (!game) {
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
    fuzz::Check(game->prefixes.size() <= 2, "more prefixes than a config has sections");
    for (const std::filesystem::path& prefix : game->prefixes) {
      fuzz::Check(prefix.is_absolute(), "a prefix that is not an absolute path");
      fuzz::Check(!prefix.string().starts_with("~"), "a prefix with its ~ not expanded");
    }
    if (game->exe) fuzz::Check(game->exe->is_absolute(), "an exe that is not an absolute path");
  } catch (...) {
    fuzz::Check(false, "an exception escaped the reader");
  }
  return 0;
}
