// Text output and measuring on device contexts: TextOut and its relatives,
// DrawText with its formatting flags, text alignment and spacing. Text is
// UTF-8; counts are bytes, and no call ever splits a character (fits and
// cuts land on character boundaries).
#pragma once

#include "platform/win/GdiFonts.h"
#include "platform/win/WinTypes.h"

namespace win {

// SetTextAlign.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT TA_RTLREADING = 256;
constexpr UINT TA_MASK = TA_BASELINE + TA_CENTER + TA_UPDATECP + TA_RTLREADING;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;

// ExtTextOut.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
constexpr UINT ETO_RTLREADING = 0x0080;
constexpr UINT ETO_IGNORELANGUAGE = 0x1000;

// DrawText.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;  // bits 8-15 give the tab width in average characters
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

struct DRAWTEXTPARAMS {
  UINT cbSize = sizeof(DRAWTEXTPARAMS);
  int iTabLength = 0;  // in average character widths
  int iLeftMargin = 0;
  int iRightMargin = 0;
  UINT uiLengthDrawn = 0;
};

UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
// Added to every character's advance by output and measuring.
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);
// The next output and measuring spread breakExtra pixels over breakCount
// break characters (spaces); 0 ends it.
BOOL SetTextJustification(HDC dc, int breakExtra, int breakCount);

BOOL TextOut(HDC dc, int x, int y, const char* text, int count);
// dx: per byte, the advance of the character starting there (the entries of
// a character's further bytes are added to it).
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                const INT* dx);
// Returns MAKELONG(width, height). Tab stops are relative to tabOrigin; none
// means every 8 average characters, one value means every that many pixels.
LONG TabbedTextOut(HDC dc, int x, int y, const char* text, int count, int tabCount, const INT* tabStops,
                   int tabOrigin);

// count -1: up to the terminating zero. DT_MODIFYSTRING writes the shown
// (shortened) text back into text, which must have room for count + 4
// bytes; through the const overload the text is never written.
int DrawText(HDC dc, const char* text, int count, RECT* rect, UINT format);
int DrawText(HDC dc, char* text, int count, RECT* rect, UINT format);
// The text of something that cannot be used now, embossed: a button
// highlight copy one pixel right and down under a button shadow copy. The
// DC's text colour is left as it was.
int DrawDisabledText(HDC dc, const char* text, int count, RECT* rect, UINT format);
int DrawTextEx(HDC dc, const char* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);
int DrawTextEx(HDC dc, char* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);

BOOL GetTextExtentPoint32(HDC dc, const char* text, int count, SIZE* size);
BOOL GetTextExtentPoint(HDC dc, const char* text, int count, SIZE* size);
// fit: bytes of the whole characters that fit in maxExtent; dx: per byte,
// the extent up to the end of the character the byte belongs to.
BOOL GetTextExtentExPoint(HDC dc, const char* text, int count, int maxExtent, INT* fit, INT* dx, SIZE* size);
DWORD GetTabbedTextExtent(HDC dc, const char* text, int count, int tabCount, const INT* tabStops);

}  // namespace win
