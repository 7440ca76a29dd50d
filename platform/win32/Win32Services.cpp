#include "platform/Services.h"
#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/Win32FileAccess.h"
#include "platform/win32/Win32Registry.h"

namespace velquin {

PlatformServices MakePlatformServices() {
  PlatformServices services;
  services.codePage = std::make_unique<AnsiCodePage>();
  services.registry = std::make_unique<Win32Registry>();
  services.files = std::make_unique<Win32FileAccess>();
  return services;
}

}  // namespace velquin
