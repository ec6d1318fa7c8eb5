#include "platform/win/GdiFonts.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/win/FontEngine.h"

namespace win {

using namespace gdi;

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return nullptr;
  auto f = std::make_unique<FontObject>();
  f->lf = *lf;
  f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
  return ToHandle<HFONT>(Register(std::move(f)));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, const char* faceName) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic != 0);
  lf.lfUnderline = static_cast<BYTE>(underline != 0);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (faceName) {
    // Cut at a character boundary so that a long name never ends in half a
    // character.
    size_t n = std::min<size_t>(std::strlen(faceName), LF_FACESIZE - 1);
    while (n > 0 && n < std::strlen(faceName) && (static_cast<unsigned char>(faceName[n]) & 0xC0) == 0x80) --n;
    std::memcpy(lf.lfFaceName, faceName, n);
    lf.lfFaceName[n] = 0;
  }
  return CreateFontIndirect(&lf);
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !tm) return FALSE;
  *tm = DCFace(*dc).tm;
  return TRUE;
}

int GetTextFace(HDC hdc, int size, char* name) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return 0;
  const std::string& family = DCFace(*dc).family;
  if (!name) return static_cast<int>(family.size()) + 1;
  if (size <= 0) return 0;
  size_t n = std::min(family.size(), static_cast<size_t>(size - 1));
  std::memcpy(name, family.data(), n);
  name[n] = 0;
  return static_cast<int>(n) + 1;
}

BOOL GetCharWidth32(HDC hdc, UINT first, UINT last, INT* widths) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !widths || first > last || last > 0x10FFFF) return FALSE;
  FontFace& face = DCFace(*dc);
  for (UINT c = first; c <= last; ++c) widths[c - first] = face.CharWidth(c);
  return TRUE;
}

std::string MappedFontFamily(const LOGFONT& lf) { return MapFaceName(lf); }

}  // namespace win
