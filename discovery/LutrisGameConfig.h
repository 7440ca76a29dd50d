#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velquin {

// What a Lutris game config (YAML) says about where the game's Wine prefix is: the prefixes it
// names ("game: prefix:", then "wine: prefix:" where present), and the game's exe, from which
// Lutris walks up to the prefix when no prefix is named. A leading "~" is taken as `home`. A
// value that is not a string or not an absolute path is left out: Lutris would not find a
// prefix there either.
struct LutrisGame {
  std::vector<std::filesystem::path> prefixes;
  std::optional<std::filesystem::path> exe;
};

// Nothing when the text is not YAML at all.
std::optional<LutrisGame> ReadLutrisGame(const std::string& yaml, const std::filesystem::path& home);

// A path as Lutris and Heroic take one from their configs: "~" and "~/..." are in `home`.
// Nothing for a path that is not absolute then.
std::optional<std::filesystem::path> ConfigPath(const std::string& value, const std::filesystem::path& home);

}  // namespace velquin
