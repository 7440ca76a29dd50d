#include "platform/win32/Win32Fonts.h"

#include "platform/win32/WideText.h"

namespace velquin {

LOGFONTW LogFontOf(const FontDesign& font, UINT dpi, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(font.centipoints, static_cast<int>(dpi), 72 * 100);
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  const std::wstring face = Widen(font.face);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return lf;
}

}  // namespace velquin
