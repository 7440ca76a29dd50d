#include "discovery/FileLookups.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace velquin {

namespace {

// Far above any game config or library list; a bigger file is not one of them.
constexpr std::uintmax_t kMaxTextFileSize = 1 << 20;

}  // namespace

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

bool IsRegularFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

std::optional<std::string> ReadSmallTextFile(const std::filesystem::path& file) {
  // Only a regular file: opening a FIFO would wait for a writer that never comes.
  if (!IsRegularFile(file)) return std::nullopt;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error || size > kMaxTextFileSize) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return text;
}

std::vector<std::filesystem::path> EntriesByName(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> entries;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    entries.push_back(it->path());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::filesystem::path RealPath(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path real = std::filesystem::weakly_canonical(path, error);
  if (error) return path.lexically_normal();  // a link loop: the spelling is all there is
  return real;
}

}  // namespace velquin
