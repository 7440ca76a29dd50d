#include "platform/posix/SystemReg.h"

#include <cctype>
#include <optional>

#include "platform/Registry.h"
#include "platform/Utf8.h"

namespace velquin {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads a string in Wine's escaped form from `pos` up to the unescaped `quote`; leaves `pos`
// behind the quote. Nothing when the quote never comes.
std::optional<std::u16string> ParseEscaped(const std::string& line, std::size_t& pos, char quote) {
  std::u16string out;
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == quote) return out;
    if (c != '\\') {
      // Wine writes pure ASCII; a hand-made file may hold UTF-8.
      std::size_t end = pos;
      while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) ++end;
      for (char32_t ch : DecodeUtf8(std::string_view(line).substr(pos - 1, end - pos + 1)))
        AppendUtf16(out, ch);
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
std::optional<RegValue> ParseData(const std::string& line, std::size_t pos) {
  RegValue value;
  const std::string rest = line.substr(pos);
  if (rest.starts_with("\"") || rest.starts_with("str(")) {
    value.type = kRegString;
    if (rest.starts_with("str(")) {
      value.type = static_cast<std::uint32_t>(std::strtoul(rest.c_str() + 4, nullptr, 16));
      pos = line.find(":\"", pos);
      if (pos == std::string::npos) return std::nullopt;
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

void ParseValueLine(const std::string& line, RegValues& values) {
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

// Joins the lines that Wine continues with a trailing backslash (long hex data).
// Hand-edited and converted files have CRLF line ends: each line loses its "\r" before its
// trailing backslash is looked for.
bool NextPhysicalLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool NextLogicalLine(std::istream& in, std::string& line) {
  if (!NextPhysicalLine(in, line)) return false;
  while (!line.empty() && line.back() == '\\' && line.front() != '[') {
    std::string more;
    if (!NextPhysicalLine(in, more)) break;
    line.pop_back();
    const std::size_t start = more.find_first_not_of(" \t");
    line += start == std::string::npos ? "" : more.substr(start);
  }
  return true;
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

std::string FoldCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

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
  SystemReg reg;
  RegKeyData* current = nullptr;
  std::string line;
  while (NextLogicalLine(in, line)) {
    if (line.starts_with("#arch=")) {
      reg.win64 = line == "#arch=win64";
    } else if (line.starts_with("[")) {
      std::size_t pos = 1;
      auto path = ParseEscaped(line, pos, ']');
      current = path ? &reg.keys[FoldCase(NarrowKey(*path))] : nullptr;
    } else if (current && line == "#link") {
      current->isLink = true;
    } else if (current && (line.starts_with("\"") || line.starts_with("@="))) {
      ParseValueLine(line, current->values);
    }
  }
  return reg;
}

}  // namespace velquin
