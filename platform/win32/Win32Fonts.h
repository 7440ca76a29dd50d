#pragma once

#include <windows.h>

#include "platform/Ui.h"

namespace velquin {

// A designed font at a DPI. Its character set is left to the font mapper, which picks the
// face's variant for the system's code page: Cyrillic, Greek or Central European captions then
// get their letters from the face itself.
LOGFONTW LogFontOf(const FontDesign& font, UINT dpi, bool underline);

}  // namespace velquin
