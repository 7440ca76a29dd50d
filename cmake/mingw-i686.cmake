# Cross build of the 32-bit Windows exe.
set(VELQUIN_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
