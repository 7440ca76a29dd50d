#include "discovery/LutrisGameConfig.h"

#include <yaml-cpp/yaml.h>

namespace velquin {

namespace {

std::optional<std::filesystem::path> ExpandedPath(const std::string& value,
                                                  const std::filesystem::path& home) {
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

// The section's "prefix" when it is a string. A key the map lacks gives a node on which
// anything but IsDefined() throws, so that comes first.
std::optional<std::string> PrefixOf(const YAML::Node& config, const char* section) {
  const YAML::Node part = config[section];
  if (!part.IsDefined() || !part.IsMap()) return std::nullopt;
  const YAML::Node prefix = part["prefix"];
  if (!prefix.IsDefined() || !prefix.IsScalar()) return std::nullopt;
  return prefix.Scalar();
}

}  // namespace

std::optional<std::vector<std::filesystem::path>> LutrisPrefixes(const std::string& yaml,
                                                                 const std::filesystem::path& home) {
  std::vector<std::filesystem::path> prefixes;
  try {
    const YAML::Node config = YAML::Load(yaml);
    if (!config.IsMap()) return prefixes;  // YAML, but no game config: it names no prefix
    for (const char* section : {"game", "wine"}) {
      const std::optional<std::string> value = PrefixOf(config, section);
      if (!value) continue;
      if (auto path = ExpandedPath(*value, home)) prefixes.push_back(std::move(*path));
    }
  } catch (const YAML::Exception&) {
    return std::nullopt;
  }
  return prefixes;
}

}  // namespace velquin
