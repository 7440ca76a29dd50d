# Writes OUTPUT, a C++ source holding each language's MO file from FOLDER as bytes.
set(source "// Written by cmake/embed_languages.cmake from po/*.po.\n#include \"forms/Catalogue.h\"\n\nnamespace velquin {\n\nnamespace {\n")
set(table "")
foreach(language IN LISTS LANGUAGES)
  file(READ ${FOLDER}/${language}.mo bytes HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  string(APPEND source "constexpr unsigned char k_${language}[] = {\n${bytes}};\n")
  string(APPEND table "    {\"${language}\", k_${language}},\n")
endforeach()
string(APPEND source "constexpr CompiledLanguage kLanguages[] = {\n${table}};\n\n}  // namespace\n\n"
  "std::span<const CompiledLanguage> CompiledLanguages() {\n  return kLanguages;\n}\n\n}  // namespace velquin\n")
file(WRITE ${OUTPUT}.new "${source}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
