#pragma once

#include <memory>

#include "platform/CodePage.h"
#include "platform/FileAccess.h"
#include "platform/Registry.h"

namespace velquin {

// What the system takes from the operating system, made by the backend the build picks.
struct PlatformServices {
  std::unique_ptr<CodePage> codePage;  // first: the registry may use it
  std::unique_ptr<Registry> registry;
  std::unique_ptr<FileAccess> files;
};

PlatformServices MakePlatformServices();

}  // namespace velquin
