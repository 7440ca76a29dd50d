#pragma once

#include <string_view>

namespace velquin {

// The launchers whose prefixes the search looks in, in the order it looks, and where each
// keeps them: the one list that --help, the manual page, the README and the AppStream text
// name (a test holds the documents to it).
struct Launcher {
  std::string_view name;
  std::string_view places;
};

// One entry a line, as the build reads them into the manual page and the AppStream text.
// clang-format off
inline constexpr Launcher kLaunchers[] = {
    {"Wine", "~/.wine"},
    {"Steam (Proton)", "steamapps/compatdata/*/pfx of every library that libraryfolders.vdf names, for native, Flatpak and Snap Steam"},
    {"Lutris", "the prefix of each game config in lutris/games (XDG config and data folders, and Flatpak's)"},
    {"Bottles", "every bottle of $XDG_DATA_HOME/bottles, of a custom bottles folder, and those kept elsewhere"},
    {"Heroic", "winePrefix of each heroic/GamesConfig/*.json, and ~/Games/Heroic/Prefixes"},
    {"umu-launcher", "~/Games/umu/*"},
    {"winetricks", "$XDG_DATA_HOME/wineprefixes/*"},
    {"PlayOnLinux", "~/.PlayOnLinux/wineprefix/*"},
};
// clang-format on

}  // namespace velquin
