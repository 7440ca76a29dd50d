// Console report of what the start-up load finds: the game folder and every name and macro.
#include <cstdio>
#include <string>

#include "ZOVURFolder/ZOVURFolder.h"
#include "core/StartupLoad.h"
#include "platform/Services.h"

int main() {
  velquin::PlatformServices os = velquin::MakePlatformServices();
  const std::string gamePath = velquin::LookUpGameFolder(*os.registry, *os.codePage);
  std::printf("Game folder: \"%s\"\n", gamePath.c_str());
  if (gamePath.empty()) std::printf("No game entry in the registry: nothing to load.\n");

  const velquin::NamesAndMacros loaded = velquin::LoadNamesAndMacros(gamePath, *os.files, *os.codePage);
  for (std::size_t k = 0; k < loaded.names.size(); ++k) {
    std::printf("Character %zu: \"%s\"\n", k + 1, loaded.names[k].c_str());
  }
  for (std::size_t m = 0; m < loaded.macros.size(); ++m) {
    std::printf("SHIFT + F%zu: \"%s\"\n", m + 1, loaded.macros[m].c_str());
  }
  return 0;
}
