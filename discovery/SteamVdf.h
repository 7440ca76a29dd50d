#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquin {

// The library folders that Steam's libraryfolders.vdf lists, in the file's order: the "path"
// of each numbered block under "libraryfolders" ("0" { "path" "/games" ... }), and in the
// older form the numbered values themselves ("1" "/games"). The text is Valve's KeyValues:
// quoted or bare tokens, nested { } blocks, // comments, and the escapes \" \\ \n \t in
// quoted tokens. Nothing when the text is not well-formed KeyValues: a file Steam was
// interrupted writing says nothing reliable about its libraries.
std::optional<std::vector<std::string>> SteamLibraryPaths(std::string_view vdf);

}  // namespace velquin
