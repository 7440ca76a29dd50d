# Each language's PO file, checked and compiled by msgfmt, linked into the program as bytes:
# the Windows exe stays one file and the Linux program needs none beside it.
find_program(VELQUIN_MSGFMT msgfmt REQUIRED)
find_program(VELQUIN_AWK NAMES awk mawk gawk REQUIRED)
file(STRINGS ${PROJECT_SOURCE_DIR}/po/LINGUAS VELQUIN_LANGUAGES REGEX "^[a-zA-Z_]+$")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/LINGUAS)
set(compiled_languages "")
foreach(language IN LISTS VELQUIN_LANGUAGES)
  set(mo ${CMAKE_CURRENT_BINARY_DIR}/po/${language}.mo)
  set(po ${PROJECT_SOURCE_DIR}/po/${language}.po)
  set(by_id ${CMAKE_CURRENT_BINARY_DIR}/po/${language}.by-id.po)
  add_custom_command(OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/po
    COMMAND ${VELQUIN_MSGFMT} --check -o /dev/null ${po}
    COMMAND ${VELQUIN_AWK} -f ${PROJECT_SOURCE_DIR}/cmake/po_by_id.awk ${po} > ${by_id}
    COMMAND ${VELQUIN_MSGFMT} --no-hash -o ${mo} ${by_id}
    DEPENDS ${po} ${PROJECT_SOURCE_DIR}/cmake/po_by_id.awk
    VERBATIM)
  list(APPEND compiled_languages ${mo})
endforeach()
set(VELQUIN_COMPILED_LANGUAGES ${CMAKE_CURRENT_BINARY_DIR}/CompiledLanguages.cpp)
add_custom_command(OUTPUT ${VELQUIN_COMPILED_LANGUAGES}
  COMMAND ${CMAKE_COMMAND} "-DLANGUAGES=${VELQUIN_LANGUAGES}" -DFOLDER=${CMAKE_CURRENT_BINARY_DIR}/po
    -DOUTPUT=${VELQUIN_COMPILED_LANGUAGES} -P ${PROJECT_SOURCE_DIR}/cmake/embed_languages.cmake
  DEPENDS ${compiled_languages} ${PROJECT_SOURCE_DIR}/cmake/embed_languages.cmake
  VERBATIM)
