#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/PlayerFileLayout.h"
#include "platform/CodePage.h"
#include "platform/FileAccess.h"

namespace velquin {

// The most characters one field is read as: what a classic Windows text box holds. A field
// without a zero byte reads on into the following bytes, so a large file of non-zero bytes
// would otherwise become one huge text.
inline constexpr std::size_t kMaxReadChars = 65535;

// Reads the text from a 1-based position up to the first zero byte, reading on past the
// field's slot when it holds none, up to kMaxReadChars characters. The end of the file and a
// byte that cannot be read count as a zero byte.
std::string ReadFieldText(FileReader& file, std::uint64_t position, const CodePage& codePage);

// The bytes a field is written as: its first maxChars characters, then a 16-bit zero, cut
// to maxBytes. Nothing when a character has no single byte in the code page.
std::optional<Bytes> EncodeFieldText(std::string_view text, FieldLimit limit, const CodePage& codePage);

}  // namespace velquin
