// Writes a demo plyr.sav of realistic size into the given folder: five character records
// of made-up game data with five names and ten macros patched in by the program's own saves.
#include <cstdio>
#include <fstream>
#include <string>

#include "core/DefaultMacros.h"
#include "core/Saves.h"
#include "posix/PosixFileAccess.h"
#include "wine/Windows1252.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s GAME_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  constexpr std::size_t kFileSize = 12 + velquin::kNameSlots * velquin::kNameDistance;
  {
    std::ofstream out(folder + "/plyr.sav", std::ios::binary | std::ios::trunc);
    for (std::size_t i = 0; i < kFileSize; ++i) out.put(static_cast<char>((i * 37 + 11) % 256));
    if (!out) {
      std::fprintf(stderr, "cannot write %s/plyr.sav\n", folder.c_str());
      return 1;
    }
  }
  velquin::PosixFileAccess files("/");
  velquin::Windows1252 codePage;
  const std::array<std::string, velquin::kNameSlots> names = {"Sn\xC3\xAFper\xE2\x84\xA2", "Medic",
                                                              "[DF]Ghost", "\xC2\xA7tealth", "Rookie"};
  std::array<std::string, velquin::kMacroSlots> macros;
  for (int m = 0; m < velquin::kMacroSlots; ++m) macros[m] = std::string(velquin::kDefaultMacros[m]);
  macros[9] = "Need ammo at the bridge!";
  const bool saved = velquin::SaveNames(folder, names, files, codePage).saved &&
                     velquin::SaveMacros(folder, macros, files, codePage).saved;
  if (!saved) {
    std::fprintf(stderr, "cannot patch the demo names and macros\n");
    return 1;
  }
  std::printf("%s/plyr.sav: %zu bytes\n", folder.c_str(), kFileSize);
  return 0;
}
