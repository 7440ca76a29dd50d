#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velquin {

// A setting that Bottles keeps in a YAML file of its own: "custom_bottles_path" in its data.yml
// (the bottles folder the user chose), "Path" in the placeholder.yml it leaves in its bottles
// folder for a bottle made elsewhere. Empty when the file has no such string; nothing when the
// text is not YAML.
std::optional<std::string> BottlesSetting(const std::string& yaml, const std::string& key);

// The Wine prefixes a Heroic config (GamesConfig/<appName>.json, or config.json's
// "defaultSettings") names: each "winePrefix", one level down in "pfx" where its
// "wineVersion" "type" is "proton", as Heroic hands Proton that folder as its compat data.
// Nothing when the text is not JSON.
std::optional<std::vector<std::filesystem::path>> HeroicPrefixes(const std::string& json,
                                                                 const std::filesystem::path& home);

}  // namespace velquin
