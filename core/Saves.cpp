#include "core/Saves.h"

#include <optional>
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

// The bytes that lie where the fields go, to put back if the save fails: fewer, or none, where
// the file ends inside a field or before it (cutting the file back undoes those).
std::optional<std::vector<Bytes>> ReadOldBytes(FileAccess& files, const std::string& path,
                                               const FieldSet& fields, const std::vector<Bytes>& encoded) {
  Result<std::unique_ptr<FileReader>> opened = files.OpenForRead(path);
  if (!opened.ok()) return std::nullopt;
  std::vector<Bytes> old;
  for (std::size_t slot = 0; slot < encoded.size(); ++slot) {
    Bytes bytes(encoded[slot].size());
    std::size_t done = 0;
    for (std::size_t got = 1; got != 0 && done < bytes.size(); done += got) {
      Result<std::size_t> read = opened.value()->ReadAt(fields.positionOf(static_cast<int>(slot)) + done,
                                                        std::span(bytes).subspan(done));
      if (!read.ok()) return std::nullopt;
      got = read.value();
    }
    bytes.resize(done);
    old.push_back(std::move(bytes));
  }
  return old;
}

bool WriteFields(const std::string& gamePath, const FieldSet& fields, FileAccess& files,
                 const CodePage& codePage) {
  if (gamePath.empty()) return false;

  std::vector<Bytes> encoded;
  for (const std::string& text : fields.texts) {
    std::optional<Bytes> bytes = EncodeFieldText(text, fields.limit, codePage);
    if (!bytes) return false;
    encoded.push_back(std::move(*bytes));
  }

  const std::string path = PlayerFilePath(gamePath);
  Result<std::unique_ptr<FileWriter>> opened = files.OpenForWrite(path);
  if (!opened.ok()) return false;
  FileWriter& file = *opened.value();
  // A file whose old bytes cannot be read could not be put back: it is not written.
  const std::optional<std::vector<Bytes>> old = ReadOldBytes(files, path, fields, encoded);
  // Room for every field first, so that a full disk stops the save before its first byte.
  bool ok = old.has_value();
  for (std::size_t slot = 0; ok && slot < encoded.size(); ++slot) {
    ok = file.Reserve(fields.positionOf(static_cast<int>(slot)), encoded[slot].size()).ok();
  }
  std::size_t tried = 0;
  for (; ok && tried < encoded.size(); ++tried) {
    ok = file.WriteAt(fields.positionOf(static_cast<int>(tried)), encoded[tried]).ok();
  }
  // Write-back errors show here, while the file can still be put back.
  ok = ok && file.Flush().ok();
  if (!ok) {
    // A failed write may have stored part of its bytes, so it is put back too.
    for (std::size_t slot = tried; slot-- > 0;) {
      (void)file.WriteAt(fields.positionOf(static_cast<int>(slot)), (*old)[slot]);
    }
    (void)file.Abandon();
    return false;
  }
  // The fields become the file's in one step where the backend writes a copy; patched in
  // place, they are stored by now and a failing commit (a close) can no longer be undone.
  return file.Commit().ok();
}

}  // namespace

SaveOutcome SaveNames(const std::string& gamePath, const std::array<std::string, kNameSlots>& names,
                      FileAccess& files, const CodePage& codePage) {
  const FieldSet fields{names, [](int k) { return NamePosition(k); }, kNameField};
  return {WriteFields(gamePath, fields, files, codePage)};
}

SaveOutcome SaveMacros(const std::string& gamePath, const std::array<std::string, kMacroSlots>& macros,
                       FileAccess& files, const CodePage& codePage) {
  const FieldSet fields{macros, [](int m) { return MacroPosition(m); }, kMacroField};
  return {WriteFields(gamePath, fields, files, codePage)};
}

}  // namespace velquin
