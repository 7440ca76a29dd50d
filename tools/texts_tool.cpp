// Velquin's texts for the files around the program, from the catalogue:
//   velquin_texts pot                  the PO template, on standard output;
//   velquin_texts desktop IN OUT       the desktop entry, GenericName and Comment in every language;
//   velquin_texts metainfo IN OUT      the AppStream file, its summary in every language.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "forms/Catalogue.h"

namespace {

using velquin::Catalogue;
using velquin::TextId;

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (c == '\n') {
      quoted += "\\n\"\n\"";
    } else if (c == '\t') {
      quoted += "\\t";
    } else {
      quoted += c;
    }
  }
  quoted += '"';
  // A text of several lines opens with an empty string, as gettext's tools write it.
  if (text.find('\n') != std::string_view::npos) {
    if (quoted.ends_with("\n\"\"")) quoted.resize(quoted.size() - 3);
    quoted = "\"\"\n" + quoted;
  }
  return quoted;
}

void WritePot() {
  std::cout << "# The texts of Velquin, a name and macro editor for DF:TFD: the template of po/*.po.\n"
               "# Written by velquin_texts from forms/TextCatalogue.h; do not edit it by hand.\n"
               "msgid \"\"\nmsgstr \"\"\n"
               "\"Project-Id-Version: Velquin\\n\"\n"
               "\"MIME-Version: 1.0\\n\"\n"
               "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
               "\"Content-Transfer-Encoding: 8bit\\n\"\n";
  for (const velquin::TextSource& text : velquin::TextSources()) {
    if (!text.translated) continue;
    std::cout << "\n#. " << text.note << "\n";
    if (text.english.find('%') != std::string_view::npos) std::cout << "#, c-format\n";
    std::cout << "msgctxt \"" << text.id << "\"\nmsgid " << Quoted(text.english) << "\nmsgstr \"\"\n";
  }
}

std::string XmlEscaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '&')
      escaped += "&amp;";
    else if (c == '<')
      escaped += "&lt;";
    else if (c == '>')
      escaped += "&gt;";
    else
      escaped += c;
  }
  return escaped;
}

// Each line of a key is followed by the key in every other language.
bool WriteTranslated(const char* in, const char* out, bool xml) {
  std::ifstream input(in);
  std::ostringstream written;
  std::string line;
  const auto translations = [&written](TextId id, const auto& one) {
    for (const Catalogue& language : Catalogue::All())
      if (language.tag() != "en") written << one(language.tag(), language[id]) << "\n";
  };
  while (std::getline(input, line)) {
    written << line << "\n";
    const std::string indent = line.substr(0, line.find_first_not_of(' '));
    if (xml && line.compare(indent.size(), 9, "<summary>") == 0) {
      translations(TextId::MetainfoSummary, [&indent](std::string_view tag, std::string_view text) {
        return indent + "<summary xml:lang=\"" + std::string(tag) + "\">" + XmlEscaped(text) + "</summary>";
      });
    }
    for (const auto& [key, id] : {std::pair{"GenericName", TextId::DesktopGenericName},
                                  std::pair{"Comment", TextId::DesktopComment}}) {
      if (xml || !line.starts_with(std::string(key) + "=")) continue;
      translations(id, [key](std::string_view tag, std::string_view text) {
        return std::string(key) + "[" + std::string(tag) + "]=" + std::string(text);
      });
    }
  }
  if (!input.eof()) return false;
  std::ofstream output(out, std::ios::binary | std::ios::trunc);
  output << written.str();
  return static_cast<bool>(output.flush());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "pot" && argc == 2) {
    WritePot();
    return std::cout.flush() ? 0 : 1;
  }
  if ((mode == "desktop" || mode == "metainfo") && argc == 4)
    return WriteTranslated(argv[2], argv[3], mode == "metainfo") ? 0 : 1;
  std::fputs("usage: velquin_texts pot | desktop IN OUT | metainfo IN OUT\n", stderr);
  return 2;
}
