#include "core/Saves.h"

#include <span>
#include <vector>

#include "core/FieldText.h"

namespace velquin {

namespace {

struct FieldSet {
  std::span<const std::string> texts;
  std::uint64_t (*positionOf)(int);
  FieldLimit limit;
};

bool WriteFields(const std::string& gamePath, const FieldSet& fields, FileAccess& files,
                 const CodePage& codePage) {
  if (gamePath.empty()) return false;

  std::vector<Bytes> encoded;
  for (const std::string& text : fields.texts) {
    std::optional<Bytes> bytes = EncodeFieldText(text, fields.limit, codePage);
    if (!bytes) return false;
    encoded.push_back(std::move(*bytes));
  }

  Result<std::unique_ptr<FileWriter>> opened = files.OpenForWrite(PlayerFilePath(gamePath));
  if (!opened.ok()) return false;
  FileWriter& file = *opened.value();
  // Room for every field first, so that a full disk stops the save before its first byte.
  bool ok = true;
  for (std::size_t slot = 0; ok && slot < encoded.size(); ++slot) {
    ok = file.Reserve(fields.positionOf(static_cast<int>(slot)), encoded[slot].size()).ok();
  }
  for (std::size_t slot = 0; ok && slot < encoded.size(); ++slot) {
    ok = file.WriteAt(fields.positionOf(static_cast<int>(slot)), encoded[slot]).ok();
  }
  if (!ok) {
    (void)file.Abandon();
    return false;
  }
  return file.Close().ok();
}

}  // namespace

SaveOutcome SaveNames(const std::string& gamePath, const std::array<std::string, kNameSlots>& names,
                      FileAccess& files, const CodePage& codePage) {
  const FieldSet fields{names, [](int k) { return NamePosition(k); }, kNameField};
  if (WriteFields(gamePath, fields, files, codePage)) return {true, kNamesSaved};
  return {false, kNamesNotSaved};
}

SaveOutcome SaveMacros(const std::string& gamePath, const std::array<std::string, kMacroSlots>& macros,
                       FileAccess& files, const CodePage& codePage) {
  const FieldSet fields{macros, [](int m) { return MacroPosition(m); }, kMacroField};
  if (WriteFields(gamePath, fields, files, codePage)) return {true, kMacrosSaved};
  return {false, kMacrosNotSaved};
}

}  // namespace velquin
