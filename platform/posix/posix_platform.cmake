# The POSIX backend: thin adapters from the platform interfaces to a Wine prefix's model.
add_subdirectory(wine)
add_library(velquin_platform STATIC
  platform/posix/Windows1252.cpp
  platform/posix/WinePrefixRegistry.cpp
  platform/posix/PosixFileAccess.cpp
  platform/posix/OpenFileHolders.cpp
  platform/posix/PrefixServices.cpp
  platform/posix/PosixServices.cpp)
target_link_libraries(velquin_platform PUBLIC velquin_wine)
