#pragma once

#include <string_view>

#include "forms/Catalogue.h"

namespace velquin {

// The launchers whose prefixes the search looks in, in the order it looks, and where each
// keeps them (in the catalogue): the one list that --help, Where Looked, the manual page, the
// README and the AppStream text name (a test holds the documents to it).
struct Launcher {
  std::string_view name;
  TextId places;
};

// One entry a line, as the build reads them (with the catalogue's English) into the manual
// page and the AppStream text.
// clang-format off
inline constexpr Launcher kLaunchers[] = {
    {"Wine", TextId::PlacesWine},
    {"Steam (Proton)", TextId::PlacesSteam},
    {"Lutris", TextId::PlacesLutris},
    {"Bottles", TextId::PlacesBottles},
    {"Heroic", TextId::PlacesHeroic},
    {"umu-launcher", TextId::PlacesUmu},
    {"winetricks", TextId::PlacesWinetricks},
    {"PlayOnLinux", TextId::PlacesPlayOnLinux},
};
// clang-format on

}  // namespace velquin
