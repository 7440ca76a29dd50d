#include "discovery/LutrisGameConfig.h"

#include <yaml-cpp/yaml.h>

namespace velquin {

namespace {

// The section's `key` when it is a string. A key the map lacks gives a node on which
// anything but IsDefined() throws, so that comes first.
std::optional<std::string> StringIn(const YAML::Node& config, const char* section, const char* key) {
  const YAML::Node part = config[section];
  if (!part.IsDefined() || !part.IsMap()) return std::nullopt;
  const YAML::Node value = part[key];
  if (!value.IsDefined() || !value.IsScalar()) return std::nullopt;
  return value.Scalar();
}

}  // namespace

std::optional<std::filesystem::path> ConfigPath(const std::string& value, const std::filesystem::path& home) {
  std::filesystem::path path;
  if (value == "~") {
    path = home;
  } else if (value.starts_with("~/")) {
    path = home / value.substr(2);
  } else {
    path = value;
  }
  if (!path.is_absolute()) return std::nullopt;
  return path;
}

std::optional<LutrisGame> ReadLutrisGame(const std::string& yaml, const std::filesystem::path& home) {
  LutrisGame game;
  try {
    const YAML::Node config = YAML::Load(yaml);
    if (!config.IsMap()) return game;  // YAML, but no game config: it names no prefix
    for (const char* section : {"game", "wine"}) {
      const std::optional<std::string> value = StringIn(config, section, "prefix");
      if (!value) continue;
      if (auto path = ConfigPath(*value, home)) game.prefixes.push_back(std::move(*path));
    }
    if (const std::optional<std::string> exe = StringIn(config, "game", "exe"))
      game.exe = ConfigPath(*exe, home);
  } catch (const YAML::Exception&) {
    return std::nullopt;
  }
  return game;
}

}  // namespace velquin
