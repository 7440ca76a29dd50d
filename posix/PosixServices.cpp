#include "platform/Services.h"
#include "posix/PrefixServices.h"
#include "wine/WinePrefix.h"

namespace velquin {

PlatformServices MakePlatformServices() {
  return MakePrefixServices(Prefix::Open(WinePrefixFromEnvironment()));
}

}  // namespace velquin
