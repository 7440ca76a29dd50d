// Windows paths from the registry, mapped into a prefix whose C: is its own drive_c and whose
// D: links to a folder outside it. Property: a drive path stays under its drive's target.
#include <algorithm>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "wine/WindowsPaths.h"

using namespace velquin;

namespace {

std::filesystem::path MakePrefix() {
  const auto root = fuzz::ScratchFolder("velquin-fuzz-path");
  std::filesystem::create_directories(root / "prefix" / "drive_c" / "Games" / "DF");
  std::filesystem::create_directories(root / "prefix" / "dosdevices");
  std::filesystem::create_directories(root / "elsewhere" / "Data");
  std::filesystem::create_directory_symlink("../drive_c", root / "prefix" / "dosdevices" / "c:");
  std::filesystem::create_directory_symlink(root / "elsewhere", root / "prefix" / "dosdevices" / "d:");
  return root / "prefix";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path prefix = MakePrefix();
  const std::string path(reinterpret_cast<const char*>(data), size);
  const auto resolved = ResolveWindowsPath(prefix, path);
  if (!resolved) return 0;
  for (const auto& part : *resolved) fuzz::Check(part != "..", "a \"..\" is left in " + resolved->string());
  if (!path.empty() && path.front() == '/') return 0;

  const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
  const std::filesystem::path root = prefix / "dosdevices" / (std::string(1, drive) + ":");
  const auto [rootEnd, pathAt] = std::mismatch(root.begin(), root.end(), resolved->begin(), resolved->end());
  fuzz::Check(rootEnd == root.end(), resolved->string() + " is not under " + root.string());
  return 0;
}
