# What every shown version and release date comes from: the project's VERSION line. A release
# is a tag plus that line.
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "Velquin's version is MAJOR.MINOR.PATCH, not \"${PROJECT_VERSION}\"")
endif()
# Windows' version resource and manifest want four numbers.
string(REPLACE "." "," VELQUIN_VERSION_COMMAS "${PROJECT_VERSION}.0")

# The release date is the commit's, so that building the same tag twice gives the same files;
# SOURCE_DATE_EPOCH, when a packager sets it, wins, and outside git the build's own date is used.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE git_status)
  if(git_status EQUAL 0 AND commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
  endif()
endif()
string(TIMESTAMP VELQUIN_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP VELQUIN_RELEASE_TIME_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)

# Where a packager or user writes to, in the Debian package's maintainer field and copyright.
set(VELQUIN_CONTACT developers@velquin.io)
