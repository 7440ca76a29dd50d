#pragma once

#include <dirent.h>
#include <unistd.h>

#include "platform/UniqueHandle.h"

namespace velquin {

// A POSIX file descriptor, closed on every way out.
using Descriptor = UniqueHandle<int, ::close, -1>;

// A folder listing (opendir, fdopendir), closed on every way out.
using Directory = UniqueHandle<DIR*, ::closedir, nullptr>;

}  // namespace velquin
