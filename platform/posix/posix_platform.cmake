# The POSIX backend: a Wine prefix's registry, drives and code page.
add_library(velquin_platform STATIC
  platform/posix/Windows1252.cpp
  platform/posix/IconvCodePage.cpp
  platform/posix/AnsiCodePages.cpp
  platform/posix/LocaleCodePage.cpp
  platform/posix/WinePrefix.cpp
  platform/posix/SystemReg.cpp
  platform/posix/MachineKeyReader.cpp
  platform/posix/WinePrefixRegistry.cpp
  platform/posix/PosixFileAccess.cpp
  platform/posix/OpenFileHolders.cpp
  platform/posix/PrefixCodePage.cpp
  platform/posix/PrefixServices.cpp
  platform/posix/PosixServices.cpp)
# iconv is part of glibc; nothing more to link.
