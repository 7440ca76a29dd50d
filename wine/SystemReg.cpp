#include "wine/SystemReg.h"

#include <optional>
#include <sstream>

#include "platform/Registry.h"
#include "platform/Utf8.h"

namespace velquin {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = FoldAscii(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads a string in Wine's escaped form from `pos` up to the unescaped `quote`; leaves `pos`
// behind the quote. Nothing when the quote never comes.
std::optional<std::u16string> ParseEscaped(std::string_view line, std::size_t& pos, char quote) {
  std::u16string out;
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == quote) return out;
    if (c != '\\' && static_cast<unsigned char>(c) < 0x80) {
      out.push_back(static_cast<char16_t>(c));
      continue;
    }
    if (c != '\\') {
      // Wine writes pure ASCII; a hand-made file may hold UTF-8.
      std::size_t end = pos;
      while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) ++end;
      for (char32_t ch : DecodeUtf8(line.substr(pos - 1, end - pos + 1))) AppendUtf16(out, ch);
      pos = end;
      continue;
    }
    if (pos >= line.size()) break;
    const char e = line[pos++];
    switch (e) {
      case 'a':
        out.push_back(u'\a');
        break;
      case 'b':
        out.push_back(u'\b');
        break;
      case 'e':
        out.push_back(char16_t{0x1B});
        break;
      case 'f':
        out.push_back(u'\f');
        break;
      case 'n':
        out.push_back(u'\n');
        break;
      case 'r':
        out.push_back(u'\r');
        break;
      case 't':
        out.push_back(u'\t');
        break;
      case 'v':
        out.push_back(u'\v');
        break;
      case 'x': {
        char16_t unit = 0;
        for (int n = 0; n < 4 && pos < line.size() && HexDigit(line[pos]) >= 0; ++n) {
          unit = static_cast<char16_t>(unit * 16 + HexDigit(line[pos++]));
        }
        out.push_back(unit);
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          char16_t unit = static_cast<char16_t>(e - '0');
          for (int n = 1; n < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++n) {
            unit = static_cast<char16_t>(unit * 8 + (line[pos++] - '0'));
          }
          out.push_back(unit);
        } else {
          out.push_back(static_cast<unsigned char>(e));
        }
    }
  }
  return std::nullopt;
}

std::string NarrowKey(const std::u16string& units) {
  std::string out;
  for (std::size_t i = 0; i < units.size();) AppendUtf8(out, NextUtf16(units, i));
  return out;
}

std::vector<std::uint8_t> ParseHexBytes(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) {
      high = -1;
      continue;
    }
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
      high = -1;
    }
  }
  return bytes;
}

std::u16string UnitsFromBytes(const std::vector<std::uint8_t>& bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return units;
}

// A link holds a key path in UTF-16 like the string types.
bool IsStringType(std::uint32_t type) {
  return type == kRegString || type == kRegExpandString || type == kRegLink || type == kRegMultiString;
}

// The data after "=": "text", str(N):"text", dword:XXXXXXXX, hex:.. or hex(N):..
std::optional<RegValue> ParseData(std::string_view line, std::size_t pos) {
  RegValue value;
  const std::string rest(line.substr(pos));
  if (rest.starts_with("\"") || rest.starts_with("str(")) {
    value.type = kRegString;
    if (rest.starts_with("str(")) {
      value.type = static_cast<std::uint32_t>(std::strtoul(rest.c_str() + 4, nullptr, 16));
      pos = line.find(":\"", pos);
      if (pos == std::string_view::npos) return std::nullopt;
      ++pos;
    }
    ++pos;
    auto text = ParseEscaped(line, pos, '"');
    if (!text) return std::nullopt;
    value.text = *text + u'\0';
    return value;
  }
  if (rest.starts_with("dword:")) {
    const auto number = static_cast<std::uint32_t>(std::strtoul(rest.c_str() + 6, nullptr, 16));
    value.type = kRegDword;
    for (int shift = 0; shift < 32; shift += 8)
      value.bytes.push_back(static_cast<std::uint8_t>(number >> shift));
    return value;
  }
  if (rest.starts_with("hex")) {
    value.type = kRegBinary;
    std::size_t colon = rest.find(':');
    if (colon == std::string::npos) return std::nullopt;
    if (rest.starts_with("hex("))
      value.type = static_cast<std::uint32_t>(std::strtoul(rest.c_str() + 4, nullptr, 16));
    value.bytes = ParseHexBytes(rest.substr(colon + 1));
    if (IsStringType(value.type)) {
      value.text = UnitsFromBytes(value.bytes);
      value.bytes.clear();
    }
    return value;
  }
  return std::nullopt;
}

void ParseValueLine(std::string_view line, RegValues& values) {
  std::size_t pos = 0;
  std::string name;
  if (line.starts_with("@=")) {
    pos = 2;
  } else {
    pos = 1;
    auto parsed = ParseEscaped(line, pos, '"');
    if (!parsed || pos >= line.size() || line[pos] != '=') return;
    name = FoldCase(NarrowKey(*parsed));
    ++pos;
  }
  if (auto value = ParseData(line, pos)) values[name] = std::move(*value);
}

// The text's lines one by one, without their line ends. Hand-edited and converted files have
// CRLF line ends: each line loses its "\r" before its trailing backslash is looked for.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  bool NextPhysical(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }

  // Joins the lines that Wine continues with a trailing backslash (long hex data) into
  // `joined`; a line that goes on no further is handed out as it lies in the text.
  bool NextLogical(std::string_view& line) {
    if (!NextPhysical(line)) return false;
    if (line.empty() || line.back() != '\\' || line.front() == '[') return true;
    joined_.assign(line);
    std::string_view more;
    while (!joined_.empty() && joined_.back() == '\\' && joined_.front() != '[' && NextPhysical(more)) {
      joined_.pop_back();
      const std::size_t start = more.find_first_not_of(" \t");
      if (start != std::string_view::npos) joined_ += more.substr(start);
    }
    line = joined_;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::string joined_;
};

// Which keys a parse keeps: all of them, or the wanted ones and every key above them.
class KeyFilter {
 public:
  KeyFilter() = default;
  explicit KeyFilter(const std::set<std::string>& wanted) : all_(false) {
    for (const std::string& path : wanted) {
      for (std::size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
        kept_.insert(path.substr(0, end));
      kept_.insert(path);
    }
  }
  bool Keeps(const std::string& foldedPath) const { return all_ || kept_.contains(foldedPath); }

 private:
  bool all_ = true;
  std::set<std::string> kept_;
};

enum class KeyLine { kKept, kSkipped, kNotPlain };

// The key path of a "[...]" line in lower case, for the plain form Wine writes nearly all of
// them in: ASCII names, each backslash between them written as two. A key below one the filter
// does not keep is skipped as soon as that shows, before the rest of its path is read. Any
// other escape or byte leaves the line to the full decoding.
KeyLine FoldPlainKeyPath(std::string_view line, const KeyFilter& filter, std::string& folded) {
  folded.clear();
  for (std::size_t pos = 1; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (c == ']') return filter.Keeps(folded) ? KeyLine::kKept : KeyLine::kSkipped;
    if (static_cast<unsigned char>(c) >= 0x80) return KeyLine::kNotPlain;
    if (c == '\\') {
      if (pos + 1 >= line.size() || line[pos + 1] != '\\') return KeyLine::kNotPlain;
      if (!filter.Keeps(folded)) return KeyLine::kSkipped;  // nor any key below it
      ++pos;
    }
    folded.push_back(FoldAscii(c));
  }
  return KeyLine::kNotPlain;
}

// The key a "[...]" line opens if the filter keeps it; null for a key passed over and for a
// line whose path never ends.
RegKeyData* KeptKey(std::string_view line, const KeyFilter& filter, std::string& folded, SystemReg& reg) {
  switch (FoldPlainKeyPath(line, filter, folded)) {
    case KeyLine::kKept:
      return &reg.keys[folded];
    case KeyLine::kSkipped:
      return nullptr;
    case KeyLine::kNotPlain:
      break;
  }
  std::size_t pos = 1;
  const auto path = ParseEscaped(line, pos, ']');
  if (!path) return nullptr;
  folded = FoldCase(NarrowKey(*path));
  return filter.Keeps(folded) ? &reg.keys[folded] : nullptr;
}

SystemReg Parse(std::string_view text, const KeyFilter& filter) {
  SystemReg reg;
  RegKeyData* current = nullptr;
  LineReader lines(text);
  std::string_view line;
  std::string path;
  while (lines.NextLogical(line)) {
    if (line.starts_with("[")) {
      current = KeptKey(line, filter, path, reg);
    } else if (line.starts_with("#arch=")) {
      reg.win64 = line == "#arch=win64";
    } else if (current && line == "#link") {
      current->isLink = true;
    } else if (current && (line.starts_with("\"") || line.starts_with("@="))) {
      ParseValueLine(line, current->values);
    }
  }
  return reg;
}

// Where a link key points, as a path below HKEY_LOCAL_MACHINE.
std::optional<std::string> LinkTarget(const RegKeyData& key) {
  const std::string machine = "\\registry\\machine\\";
  const auto value = key.values.find("symboliclinkvalue");
  if (value == key.values.end()) return std::nullopt;
  std::string target = NarrowKey(value->second.text);
  while (!target.empty() && target.back() == '\0') target.pop_back();
  target = FoldCase(target);
  if (!target.starts_with(machine)) return std::nullopt;
  return target.substr(machine.size());
}

}  // namespace

std::string FollowLinks(const SystemReg& reg, std::string path) {
  // A bound on the hops keeps a link that names itself from looping.
  for (int hop = 0; hop < 16; ++hop) {
    bool followed = false;
    std::size_t end = 0;
    while (!followed && end != std::string::npos) {
      end = path.find('\\', end + 1);
      const auto key = reg.keys.find(path.substr(0, end));
      if (key == reg.keys.end() || !key->second.isLink) continue;
      const std::optional<std::string> target = LinkTarget(key->second);
      if (!target) return path;
      path = *target + (end == std::string::npos ? "" : path.substr(end));
      followed = true;
    }
    if (!followed) return path;
  }
  return path;
}

SystemReg ParseSystemReg(std::istream& in) {
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str(), KeyFilter());
}

SystemReg ParseSystemReg(std::string_view text, const std::set<std::string>& wantedKeys) {
  return Parse(text, KeyFilter(wantedKeys));
}

}  // namespace velquin
