// A whole start-up load plus both saves on a player file of realistic size (10,552 bytes).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/DefaultMacros.h"
#include "core/Saves.h"
#include "core/StartupLoad.h"
#include "posix/PosixFileAccess.h"
#include "wine/Windows1252.h"

namespace {

std::filesystem::path MakeGameFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velquin-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) std::abort();
  std::ofstream out(std::filesystem::path(pattern) / "plyr.sav", std::ios::binary);
  for (int i = 0; i < 12 + 5 * 2108; ++i) out.put(static_cast<char>(1 + i % 200));
  return pattern;
}

void LoadAndBothSaves(benchmark::State& state) {
  const std::filesystem::path folder = MakeGameFolder();
  velquin::PosixFileAccess files("/");
  velquin::Windows1252 codePage;
  const std::array<std::string, velquin::kNameSlots> names = {"Sn\xC3\xAFper", "Medic", "Ghost", "Stealth",
                                                              "Rookie"};
  std::array<std::string, velquin::kMacroSlots> macros;
  for (int m = 0; m < velquin::kMacroSlots; ++m) macros[m] = std::string(velquin::kDefaultMacros[m]);

  for (auto _ : state) {
    velquin::NamesAndMacros loaded = velquin::LoadNamesAndMacros(folder.string(), files, codePage);
    benchmark::DoNotOptimize(loaded);
    benchmark::DoNotOptimize(velquin::SaveNames(folder.string(), names, files, codePage));
    benchmark::DoNotOptimize(velquin::SaveMacros(folder.string(), macros, files, codePage));
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(LoadAndBothSaves);

}  // namespace

BENCHMARK_MAIN();
