// Steam's libraryfolders.vdf as it comes: the library list reader.
#include <string>
#include <string_view>

#include "discovery/SteamVdf.h"
#include "fuzz/FuzzCheck.h"

using namespace velquin;

namespace {

// Whether some quoted run of the input, with its escapes undone, reads `path`. Every '"' is
// tried as an opening quote, so this knows nothing of comments or nesting: it holds for any
// token the reader can have taken.
bool QuotedInInput(std::string_view input, const std::string& path) {
  for (std::size_t start = input.find('"'); start != std::string_view::npos;
       start = input.find('"', start + 1)) {
    std::string text;
    std::size_t i = start + 1;
    while (i < input.size() && input[i] != '"' && text.size() <= path.size()) {
      const bool escape = input[i] == '\\' && i + 1 < input.size() &&
                          std::string_view("\"\\nt").find(input[i + 1]) != std::string_view::npos;
      if (escape) {
        const char c = input[i + 1];
        text.push_back(c == 'n' ? '\n' : c == 't' ? '\t' : c);
        i += 2;
      } else {
        text.push_back(input[i++]);
      }
    }
    if (i < input.size() && input[i] == '"' && text == path) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto paths = SteamLibraryPaths(input);
  if (!paths) return 0;
  for (const std::string& path : *paths) {
    fuzz::Check(!path.empty(), "an empty library path");
    // A bare token is a run of the input as it stands; a quoted one, once its escapes are undone.
    fuzz::Check(input.find(path) != std::string_view::npos || QuotedInInput(input, path),
                "a library path that is no token of the input");
  }
  return 0;
}
