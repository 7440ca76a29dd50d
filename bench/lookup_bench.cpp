// The game folder lookup over Wine-made registries (about 3 MB of system.reg each): one prefix,
// and ten prefixes one after the other as a search over a HOME's prefixes does it. The prefix
// comes from make_lookup_prefix.sh through VELQUIN_BENCH_PREFIX; the ten are copies of its
// system.reg, each with a game path of its own.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ZOVURFolder/ZOVURFolder.h"
#include "posix/WinePrefixRegistry.h"

namespace {

constexpr char kGamePath[] = "C:\\Games\\DFTFD";  // as make_lookup_prefix.sh writes it
constexpr int kPrefixCount = 10;

// As the search over a HOME's prefixes does it: the prefix opened (its system.reg read once for
// the game's key and its code page, the code page's table made), then the lookup over it.
std::string GameFolder(const std::filesystem::path& prefix) {
  const auto opened = velquin::Prefix::Open(prefix, {velquin::kGameKeyName});
  velquin::WinePrefixRegistry registry(opened, *opened->codePage());
  return velquin::LookUpGameFolder(registry, *opened->codePage());
}

const char* BenchPrefix() {
  const char* prefix = std::getenv("VELQUIN_BENCH_PREFIX");
  return prefix && *prefix ? prefix : nullptr;
}

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Copies of the prefix's system.reg whose game paths end in "-0" to "-9".
class TenPrefixes {
 public:
  explicit TenPrefixes(const std::filesystem::path& source) {
    std::string pattern = (std::filesystem::temp_directory_path() / "velquin-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
    const std::string text = ReadText(source / "system.reg");
    const std::string marker = "DFTFD\"";
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) std::abort();
    for (int k = 0; k < kPrefixCount; ++k) {
      const std::filesystem::path prefix = root_ / std::to_string(k);
      std::filesystem::create_directory(prefix);
      std::ofstream(prefix / "system.reg", std::ios::binary)
          << text.substr(0, at) << "DFTFD-" << k << text.substr(at + marker.size() - 1);
      prefixes_.push_back(prefix);
    }
  }
  ~TenPrefixes() { std::filesystem::remove_all(root_); }
  TenPrefixes(const TenPrefixes&) = delete;
  TenPrefixes& operator=(const TenPrefixes&) = delete;

  const std::vector<std::filesystem::path>& prefixes() const { return prefixes_; }

 private:
  std::filesystem::path root_;
  std::vector<std::filesystem::path> prefixes_;
};

void LookUpGameFolderInOnePrefix(benchmark::State& state) {
  const char* prefix = BenchPrefix();
  if (!prefix) return state.SkipWithError("VELQUIN_BENCH_PREFIX not set (bench/make_lookup_prefix.sh)");
  if (GameFolder(prefix) != kGamePath) return state.SkipWithError("the lookup does not find the game");
  for (auto _ : state) benchmark::DoNotOptimize(GameFolder(prefix));
}
BENCHMARK(LookUpGameFolderInOnePrefix)->Unit(benchmark::kMillisecond);

void LookUpGameFolderInTenPrefixes(benchmark::State& state) {
  const char* prefix = BenchPrefix();
  if (!prefix) return state.SkipWithError("VELQUIN_BENCH_PREFIX not set (bench/make_lookup_prefix.sh)");
  const TenPrefixes ten(prefix);
  for (int k = 0; k < kPrefixCount; ++k) {
    std::string expected = kGamePath;
    expected.append(1, '-').append(std::to_string(k));
    if (GameFolder(ten.prefixes()[k]) != expected)
      return state.SkipWithError("a copy's lookup does not find its own game path");
  }
  for (auto _ : state) {
    for (const auto& each : ten.prefixes()) benchmark::DoNotOptimize(GameFolder(each));
  }
}
BENCHMARK(LookUpGameFolderInTenPrefixes)->Unit(benchmark::kMillisecond);

}  // namespace
