#include "platform/Services.h"
#include "platform/posix/PrefixServices.h"
#include "wine/WinePrefix.h"

namespace velquin {

PlatformServices MakePlatformServices() {
  return MakePrefixServices(Prefix::Open(WinePrefixFromEnvironment()));
}

}  // namespace velquin
