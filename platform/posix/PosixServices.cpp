#include "platform/Services.h"
#include "platform/posix/PosixFileAccess.h"
#include "platform/posix/Windows1252.h"
#include "platform/posix/WinePrefix.h"
#include "platform/posix/WinePrefixRegistry.h"

namespace velquin {

PlatformServices MakePlatformServices() {
  const std::filesystem::path prefix = WinePrefixFromEnvironment();
  PlatformServices services;
  services.codePage = std::make_unique<Windows1252>();
  services.registry = std::make_unique<WinePrefixRegistry>(prefix, *services.codePage);
  services.files = std::make_unique<PosixFileAccess>(prefix);
  return services;
}

}  // namespace velquin
