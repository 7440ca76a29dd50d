#include "discovery/SteamVdf.h"

#include <algorithm>

#include "platform/AsciiCase.h"

namespace velquin {

namespace {

enum class TokenKind { kText, kOpen, kClose, kEnd, kBroken };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string text;
};

class VdfTokens {
 public:
  explicit VdfTokens(std::string_view text) : text_(text) {}

  Token Next() {
    SkipSpaceAndComments();
    if (at_ == text_.size()) return {TokenKind::kEnd, {}};
    const char c = text_[at_];
    if (c == '{' || c == '}') {
      ++at_;
      return {c == '{' ? TokenKind::kOpen : TokenKind::kClose, {}};
    }
    return c == '"' ? Quoted() : Bare();
  }

 private:
  void SkipSpaceAndComments() {
    while (at_ < text_.size()) {
      if (IsAsciiSpace(text_[at_])) {
        ++at_;
      } else if (text_.substr(at_, 2) == "//") {
        const std::size_t lineEnd = text_.find('\n', at_);
        at_ = lineEnd == std::string_view::npos ? text_.size() : lineEnd + 1;
      } else {
        return;
      }
    }
  }

  Token Quoted() {
    std::string text;
    for (++at_; at_ < text_.size(); ++at_) {
      char c = text_[at_];
      if (c == '"') {
        ++at_;
        return {TokenKind::kText, std::move(text)};
      }
      if (c == '\\' && at_ + 1 < text_.size()) {
        const char escaped = text_[at_ + 1];
        // Valve's reader keeps a backslash before anything else as it stands.
        if (escaped == '"' || escaped == '\\' || escaped == 'n' || escaped == 't') {
          c = escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
          ++at_;
        }
      }
      text.push_back(c);
    }
    return {TokenKind::kBroken, {}};  // the file ends inside a string
  }

  Token Bare() {
    const std::size_t start = at_;
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (IsAsciiSpace(c) || c == '"' || c == '{' || c == '}') break;
      ++at_;
    }
    return {TokenKind::kText, std::string(text_.substr(start, at_ - start))};
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

bool IsNumber(const std::string& key) {
  return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether a key holding a string, inside the blocks `open`, names a library folder.
bool IsLibraryPath(const std::vector<std::string>& open, const std::string& key) {
  if (open.empty() || open.front() != "libraryfolders") return false;
  if (open.size() == 1) return IsNumber(key);
  return open.size() == 2 && IsNumber(open[1]) && FoldCase(key) == "path";
}

}  // namespace

std::optional<std::vector<std::string>> SteamLibraryPaths(std::string_view vdf) {
  VdfTokens tokens(vdf);
  std::vector<std::string> open;  // the keys of the blocks around the next token, lowered
  std::vector<std::string> paths;
  for (;;) {
    Token key = tokens.Next();
    if (key.kind == TokenKind::kEnd) break;
    if (key.kind == TokenKind::kClose) {
      if (open.empty()) return std::nullopt;
      open.pop_back();
      continue;
    }
    if (key.kind != TokenKind::kText) return std::nullopt;

    Token value = tokens.Next();
    if (value.kind == TokenKind::kOpen) {
      open.push_back(FoldCase(std::move(key.text)));
    } else if (value.kind != TokenKind::kText) {
      return std::nullopt;
    } else if (IsLibraryPath(open, key.text) && !value.text.empty()) {
      paths.push_back(std::move(value.text));
    }
  }
  if (!open.empty()) return std::nullopt;  // a block never closed
  return paths;
}

}  // namespace velquin
