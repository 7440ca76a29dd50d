#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace velquin::fuzz {

// A broken property ends the run as a crash does, so libFuzzer keeps the input.
inline void Check(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what.c_str());
  std::abort();
}

// A folder of the target's own for the whole run.
inline std::filesystem::path ScratchFolder(const char* name) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern;
}

}  // namespace velquin::fuzz
