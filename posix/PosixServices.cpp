#include "platform/Services.h"
#include "posix/PrefixServices.h"

namespace velquin {

PlatformServices MakePlatformServices() {
  return MakePrefixServices(Prefix::Open(WinePrefixFromEnvironment()));
}

}  // namespace velquin
