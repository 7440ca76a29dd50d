#include "core/StartupLoad.h"

#include "core/FieldText.h"

namespace velquin {

namespace {

// One pass: opens the file, reads each field where it lies, and closes the file.
template <std::size_t N>
void ReadFields(FileAccess& files, const std::string& path, std::uint64_t (*positionOf)(int),
                const CodePage& codePage, std::array<std::string, N>& texts) {
  const Result<std::unique_ptr<FileReader>> pass = files.OpenForRead(path);
  if (!pass.ok()) return;
  for (int slot = 0; slot < static_cast<int>(N); ++slot) {
    texts[slot] = ReadFieldText(*pass.value(), positionOf(slot), codePage);
  }
}

}  // namespace

NamesAndMacros LoadNamesAndMacros(const std::string& gamePath, FileAccess& files, const CodePage& codePage) {
  NamesAndMacros loaded;
  if (gamePath.empty()) return loaded;
  const std::string path = PlayerFilePath(gamePath);

  ReadFields(
      files, path, [](int k) { return NamePosition(k); }, codePage, loaded.names);
  ReadFields(
      files, path, [](int m) { return MacroPosition(m); }, codePage, loaded.macros);
  return loaded;
}

}  // namespace velquin
