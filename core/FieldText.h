#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/PlayerFileLayout.h"
#include "platform/CodePage.h"
#include "platform/FileAccess.h"

namespace velquin {

// Reads the text from a 1-based position up to the first zero byte, with no bound of its
// own: a field without a zero byte reads on into the following bytes. The end of the file
// counts as a zero byte.
std::string ReadFieldText(std::span<const std::uint8_t> file, std::uint64_t position,
                          const CodePage& codePage);

// The bytes a field is written as: its first maxChars characters, then a 16-bit zero, cut
// to maxBytes. Nothing when a character has no single byte in the code page.
std::optional<Bytes> EncodeFieldText(std::string_view text, FieldLimit limit, const CodePage& codePage);

// Writes encoded field bytes at the field's position, touching no byte behind them.
Status WriteFieldText(FileWriter& file, std::uint64_t position, std::span<const std::uint8_t> field);

}  // namespace velquin
