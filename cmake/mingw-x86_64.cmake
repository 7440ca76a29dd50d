# Cross build of the 64-bit Windows exe.
set(VELQUIN_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
