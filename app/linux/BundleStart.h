#pragma once

namespace velquin {

// In the portable bundle (a qt.conf beside the program), makes Qt load plugins from the
// bundle's own plugins/ folder and nowhere else, whatever bytes that folder's name holds and
// whatever Qt plugin folders the environment names. Elsewhere (the Debian package, a plain
// install) it does nothing. To be called before the QApplication is made.
void UseBundledQtPlugins();

}  // namespace velquin
