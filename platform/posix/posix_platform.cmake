# The POSIX backend: a Wine prefix's registry, drives and code page.
add_library(velquin_platform STATIC
  platform/posix/Windows1252.cpp
  platform/posix/WinePrefix.cpp
  platform/posix/SystemReg.cpp
  platform/posix/WinePrefixRegistry.cpp
  platform/posix/PosixFileAccess.cpp
  platform/posix/PosixServices.cpp)
