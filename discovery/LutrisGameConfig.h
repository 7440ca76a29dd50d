#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velquin {

// The Wine prefixes a Lutris game config (YAML) names: "game: prefix:", then "wine:
// prefix:" where present, with a leading "~" taken as `home`. A value that is not a string
// or not an absolute path is left out: Lutris would not find a prefix there either. Nothing
// when the text is not YAML at all.
std::optional<std::vector<std::filesystem::path>> LutrisPrefixes(const std::string& yaml,
                                                                 const std::filesystem::path& home);

}  // namespace velquin
