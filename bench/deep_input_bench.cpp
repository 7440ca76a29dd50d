// Inputs that grow without bound where a launcher's file or the registry says so: a game
// folder of many parts, a Lutris exe lying deep, a Steam library list that names one folder
// thousands of times. Each row's cost must grow in step with the input (the O(N) fit below).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "discovery/GameDiscovery.h"
#include "wine/WindowsPaths.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDepth = 16000;  // of the folders below drive_c, each named "a"

// A HOME with a prefix whose drive_c holds folders kDepth deep, made once for every row. A
// path that deep is longer than the kernel takes whole: the folders are made and removed one
// below the other.
class DeepHome {
 public:
  DeepHome() {
    std::string pattern = "/tmp/vqb-XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
    fs::create_directories(prefix() / "dosdevices");
    fs::create_directories(prefix() / "drive_c");
    fs::create_directory_symlink("../drive_c", prefix() / "dosdevices" / "c:");
    std::ofstream(prefix() / "system.reg") << "WINE REGISTRY Version 2\n";
    int folder = ::open((prefix() / "drive_c").c_str(), O_PATH | O_DIRECTORY);
    for (int level = 0; level < kDepth; ++level) {
      if (::mkdirat(folder, "a", 0700) != 0) std::abort();
      const int below = ::openat(folder, "a", O_PATH | O_DIRECTORY);
      ::close(folder);
      folder = below;
    }
    ::close(folder);
  }
  ~DeepHome() {
    int folder = ::open((prefix() / "drive_c").c_str(), O_PATH | O_DIRECTORY);
    for (int level = 0; level < kDepth; ++level) {
      const int below = ::openat(folder, "a", O_PATH | O_DIRECTORY);
      ::close(folder);
      folder = below;
    }
    for (int level = 0; level < kDepth; ++level) {
      const int above = ::openat(folder, "..", O_PATH | O_DIRECTORY);
      ::close(folder);
      ::unlinkat(above, "a", AT_REMOVEDIR);
      folder = above;
    }
    ::close(folder);
    fs::remove_all(root_);
  }
  DeepHome(const DeepHome&) = delete;
  DeepHome& operator=(const DeepHome&) = delete;

  fs::path home() const { return root_ / "home"; }
  fs::path prefix() const { return root_ / "p"; }
  void Write(const fs::path& file, const std::string& text) const {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
  }
  void Clear() const { fs::remove_all(home()); }

 private:
  fs::path root_;
};

const DeepHome& Home() {
  static const DeepHome home;
  return home;
}

// "C:\A\A\...": every name in the other case, so that each one is matched by listing its folder.
void ResolveDeepWindowsPath(benchmark::State& state) {
  std::string path = "C:";
  for (int part = 0; part < state.range(0); ++part) path += "\\A";
  const auto resolved = velquin::ResolveWindowsPath(Home().prefix(), path);
  if (!resolved || !resolved->string().ends_with("/a/a"))
    return state.SkipWithError("the path is not matched to its folders");
  for (auto _ : state) benchmark::DoNotOptimize(velquin::ResolveWindowsPath(Home().prefix(), path));
  state.SetComplexityN(state.range(0));
}
// The last is near the most that Windows takes (32,767 characters).
BENCHMARK(ResolveDeepWindowsPath)->Arg(1000)->Arg(4000)->Arg(16000)->Complexity(benchmark::oN);

// A Lutris game that names no prefix: the prefix is found above its exe.
void FindPrefixAboveDeepExe(benchmark::State& state) {
  const DeepHome& home = Home();
  home.Clear();
  std::string exe = (home.prefix() / "drive_c").string();
  for (int part = 0; part < state.range(0); ++part) exe += "/a";
  home.Write(home.home() / ".local/share/lutris/games/df.yml", "game:\n  exe: " + exe + "/zovur.exe\n");
  const velquin::Environment environment{home.home(), "", "", ""};
  const auto found = velquin::CandidatePrefixes(environment).prefixes;
  if (found.size() != 1 || found[0].prefix != home.prefix())
    return state.SkipWithError("the prefix is not found");
  for (auto _ : state) benchmark::DoNotOptimize(velquin::CandidatePrefixes(environment));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(FindPrefixAboveDeepExe)->Arg(1000)->Arg(5000)->Arg(20000)->Arg(100000)->Complexity(benchmark::oN);

// Steam's library list naming one library again and again, the library's folders spelled in
// the older case so that it is listed to find them, beside a hundred other entries.
void ReadRepeatedSteamLibrary(benchmark::State& state) {
  const DeepHome& home = Home();
  home.Clear();
  const fs::path library = home.home() / "l";
  home.Write(library / "SteamApps/compatdata/1/pfx/system.reg", "");
  for (int other = 0; other < 100; ++other) fs::create_directories(library / std::to_string(other));
  std::string list = "\"libraryfolders\"\n{\n";
  for (int entry = 0; entry < state.range(0); ++entry) list += "\"1\" \"" + library.string() + "\"\n";
  home.Write(home.home() / ".local/share/Steam/steamapps/libraryfolders.vdf", list + "}\n");
  const velquin::Environment environment{home.home(), "", "", ""};
  const auto found = velquin::CandidatePrefixes(environment);
  if (!found.skipped.empty() || found.prefixes.size() != 1 ||
      found.prefixes[0].prefix != library / "SteamApps/compatdata/1/pfx")
    return state.SkipWithError("the library's prefix is not found");
  for (auto _ : state) benchmark::DoNotOptimize(velquin::CandidatePrefixes(environment));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(ReadRepeatedSteamLibrary)->Arg(1000)->Arg(10000)->Arg(27000)->Complexity(benchmark::oN);

// Steam's library list naming many deep libraries, each a different one: each one's real path
// is worked out once, in one look per folder.
void ReadDeepSteamLibraries(benchmark::State& state) {
  const DeepHome& home = Home();
  home.Clear();
  std::string list = "\"libraryfolders\"\n{\n";
  for (int entry = 0; entry < state.range(0); ++entry) {
    std::string library = (home.prefix() / "drive_c").string();
    for (int part = 0; part < 1000 + entry % 900; ++part) library += "/a";
    list += "\"1\" \"" + library + "\"\n";
  }
  home.Write(home.home() / ".local/share/Steam/steamapps/libraryfolders.vdf", list + "}\n");
  const velquin::Environment environment{home.home(), "", "", ""};
  if (!velquin::CandidatePrefixes(environment).skipped.empty())
    return state.SkipWithError("the list is not read");
  for (auto _ : state) benchmark::DoNotOptimize(velquin::CandidatePrefixes(environment));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(ReadDeepSteamLibraries)->Arg(50)->Arg(100)->Arg(200)->Complexity(benchmark::oN);

}  // namespace
