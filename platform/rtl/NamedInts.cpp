#include "platform/rtl/NamedInts.h"

namespace {

// Identifier tables, one row per name as the streams write it. Where two
// names share a value (clSilver/clLtGray) only the first is listed, so a
// value always writes back as the same name.
const std::vector<TIdentMapEntry> kColors = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

const std::vector<TIdentMapEntry> kCursors = {
    {crDefault, "crDefault"},     {crNone, "crNone"},         {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},   {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

const std::vector<TIdentMapEntry> kCharsets = {
    {0, "ANSI_CHARSET"},        {1, "DEFAULT_CHARSET"},     {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},        {128, "SHIFTJIS_CHARSET"},  {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},     {134, "GB2312_CHARSET"},    {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},     {162, "TURKISH_CHARSET"},   {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},    {178, "ARABIC_CHARSET"},    {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"},   {222, "THAI_CHARSET"},      {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};

const std::vector<TIdentMapEntry> kModalResults = {
    {mrNone, "mrNone"},   {mrOk, "mrOk"}, {mrCancel, "mrCancel"}, {mrAbort, "mrAbort"},
    {mrRetry, "mrRetry"}, {mrIgnore, "mrIgnore"}, {mrYes, "mrYes"}, {mrNo, "mrNo"},
    {mrAll, "mrAll"},     {mrNoToAll, "mrNoToAll"}, {mrYesToAll, "mrYesToAll"},
};

TTypeInfo NamedInteger(const char* name, TOrdType ord, int64_t min, int64_t max,
                       const std::vector<TIdentMapEntry>& idents) {
  TTypeInfo info;
  info.Name = name;
  info.Kind = TTypeKind::tkInteger;
  info.OrdType = ord;
  info.MinValue = min;
  info.MaxValue = max;
  info.Idents = idents;
  return info;
}

bool ToIdent(Integer value, std::string& ident, const std::vector<TIdentMapEntry>& map) {
  return IntToIdent(value, ident, map);
}

bool FromIdent(std::string_view ident, Integer& value, const std::vector<TIdentMapEntry>& map) {
  int64_t v = 0;
  if (!IdentToInt(ident, v, map)) return false;
  value = static_cast<Integer>(v);
  return true;
}

}  // namespace

const TTypeInfo* TypeInfoColor() {
  static const TTypeInfo info = NamedInteger("TColor", TOrdType::otSLong, INT32_MIN, INT32_MAX, kColors);
  return &info;
}

bool ColorToIdent(Integer color, std::string& ident) { return ToIdent(color, ident, kColors); }
bool IdentToColor(std::string_view ident, Integer& color) { return FromIdent(ident, color, kColors); }

std::string ColorToString(TColor color) {
  std::string ident;
  if (ColorToIdent(color, ident)) return ident;
  return "$" + IntToHex(color, 8);
}

TColor StringToColor(std::string_view text) {
  Integer color = 0;
  if (IdentToColor(text, color)) return color;
  return StrToInt(text);
}

const TTypeInfo* TypeInfoCursor() {
  static const TTypeInfo info = NamedInteger("TCursor", TOrdType::otSWord, -32768, 32767, kCursors);
  return &info;
}

bool CursorToIdent(Integer cursor, std::string& ident) { return ToIdent(cursor, ident, kCursors); }
bool IdentToCursor(std::string_view ident, Integer& cursor) { return FromIdent(ident, cursor, kCursors); }

const TTypeInfo* TypeInfoFontCharset() {
  static const TTypeInfo info = NamedInteger("TFontCharset", TOrdType::otUByte, 0, 255, kCharsets);
  return &info;
}

bool CharsetToIdent(Integer charset, std::string& ident) { return ToIdent(charset, ident, kCharsets); }
bool IdentToCharset(std::string_view ident, Integer& charset) {
  return FromIdent(ident, charset, kCharsets);
}

const TTypeInfo* TypeInfoModalResult() {
  static const TTypeInfo info =
      NamedInteger("TModalResult", TOrdType::otSLong, INT32_MIN, INT32_MAX, kModalResults);
  return &info;
}
