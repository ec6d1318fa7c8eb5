#include "script/fs_igraphicsrtti.h"

#include "platform/forms/Graphics.h"
#include "platform/forms/Metafile.h"
#include "platform/rtl/ObjectHandles.h"

namespace fs_igraphicsrtti {

VXN_IMPLEMENT_CLASS(TFunctions, TfsRTTIModule)

namespace {

template <typename T>
T* As(TObject* instance) {
  auto* object = dynamic_cast<T*>(instance);
  if (!object) throw EInvalidCast("Invalid class typecast");
  return object;
}

TObject* Construct(TClass cls) {
  if (cls->Factory) return cls->Factory();
  if (cls->OwnerFactory) return cls->OwnerFactory(nullptr);
  throw Exception(Format("Cannot create an instance of class %s", {std::string(cls->Name)}));
}

Variant Methods(TObject* instance, TClass cls, const std::string& name, TfsMethodHelper* c) {
  const TClass declared = c->HostClass;
  auto i = [c](Integer n) { return c->ParamValueAt(n).AsInteger(); };
  if (declared == TMetafileCanvas::StaticClass() && name == "CREATE") {
    // The reference device comes as its handle's number; the canvas checks it.
    auto device = reinterpret_cast<win::HDC>(static_cast<intptr_t>(i(1)));
    return VarFromObject(new TMetafileCanvas(VarToObject<TMetafile>(c->ParamValueAt(0)), device));
  }
  if (name == "CREATE") return VarFromObject(instance ? instance : Construct(cls));
  if (declared == TCanvas::StaticClass()) {
    auto* canvas = As<TCanvas>(instance);
    if (name == "DRAW") canvas->Draw(i(0), i(1), VarToObject<TGraphic>(c->ParamValueAt(2)));
    if (name == "ELLIPSE") canvas->Ellipse(i(0), i(1), i(2), i(3));
    if (name == "LINETO") canvas->LineTo(i(0), i(1));
    if (name == "MOVETO") canvas->MoveTo(i(0), i(1));
    if (name == "RECTANGLE") canvas->Rectangle(i(0), i(1), i(2), i(3));
    if (name == "ROUNDRECT") canvas->RoundRect(i(0), i(1), i(2), i(3), i(4), i(5));
    if (name == "STRETCHDRAW")
      canvas->StretchDraw(TRect{i(0), i(1), i(2), i(3)}, VarToObject<TGraphic>(c->ParamValueAt(4)));
    if (name == "TEXTHEIGHT") return canvas->TextHeight(VarToStr(c->ParamValueAt(0)));
    if (name == "TEXTWIDTH") return canvas->TextWidth(VarToStr(c->ParamValueAt(0)));
    if (name == "TEXTOUT") canvas->TextOut(i(0), i(1), VarToStr(c->ParamValueAt(2)));
    if (name == "PIXELS.GET") return canvas->Pixels(i(0), i(1));
    if (name == "PIXELS.SET") canvas->SetPixels(i(0), i(1), i(2));
  }
  if (declared == TGraphic::StaticClass()) {
    auto* graphic = As<TGraphic>(instance);
    if (name == "LOADFROMFILE") graphic->LoadFromFile(VarToStr(c->ParamValueAt(0)));
    if (name == "SAVETOFILE") graphic->SaveToFile(VarToStr(c->ParamValueAt(0)));
  }
  if (declared == TPicture::StaticClass()) {
    auto* picture = As<TPicture>(instance);
    if (name == "LOADFROMFILE") picture->LoadFromFile(VarToStr(c->ParamValueAt(0)));
    if (name == "SAVETOFILE") picture->SaveToFile(VarToStr(c->ParamValueAt(0)));
  }
  return 0;
}

Variant Getter(TObject* instance, TClass cls, const std::string& name) {
  if (!instance) return 0;
  if (cls == TGraphic::StaticClass()) {
    if (name == "HEIGHT") return As<TGraphic>(instance)->Height();
    if (name == "WIDTH") return As<TGraphic>(instance)->Width();
  }
  if (cls == TPicture::StaticClass()) {
    if (name == "HEIGHT") return As<TPicture>(instance)->Height();
    if (name == "WIDTH") return As<TPicture>(instance)->Width();
  }
  if (cls == TBitmap::StaticClass() && name == "CANVAS") return VarFromObject(As<TBitmap>(instance)->Canvas());
  return 0;
}

void Setter(TObject* instance, TClass cls, const std::string& name, const Variant& value) {
  if (!instance) throw Exception("Cannot assign property " + name + " of nil");
  if (cls == TGraphic::StaticClass()) {
    if (name == "HEIGHT") As<TGraphic>(instance)->SetHeight(value.AsInteger());
    if (name == "WIDTH") As<TGraphic>(instance)->SetWidth(value.AsInteger());
  }
}

Integer System(Integer index) { return static_cast<Integer>(0xFF000000u + static_cast<unsigned>(index)); }

}  // namespace

TFunctions::TFunctions(TfsScript* script) : TfsRTTIModule(script) {
  TfsScript& s = *script;
  const std::pair<const char*, Integer> colours[] = {
      {"clBlack", 0},           {"clMaroon", 0x80},        {"clGreen", 0x8000},
      {"clOlive", 0x8080},      {"clNavy", 0x800000},      {"clPurple", 0x800080},
      {"clTeal", 0x808000},     {"clGray", 0x808080},      {"clSilver", 0xC0C0C0},
      {"clRed", 0xFF},          {"clLime", 0xFF00},        {"clYellow", 0xFFFF},
      {"clBlue", 0xFF0000},     {"clFuchsia", 0xFF00FF},   {"clAqua", 0xFFFF00},
      {"clWhite", 0xFFFFFF},    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
      {"clCream", 0xF0FBFF},    {"clMedGray", 0xA4A0A0},
      {"clActiveBorder", System(10)}, {"clActiveCaption", System(2)}, {"clAppWorkSpace", System(12)},
      {"clBackground", System(1)},    {"clBtnFace", System(15)},      {"clBtnHighlight", System(20)},
      {"clBtnShadow", System(16)},    {"clBtnText", System(18)},      {"clCaptionText", System(9)},
      {"clDefault", 0x20000000},      {"clGradientActiveCaption", System(27)},
      {"clGradientInactiveCaption", System(28)}, {"clGrayText", System(17)},
      {"clHighlight", System(13)},    {"clHighlightText", System(14)}, {"clHotLight", System(26)},
      {"clInactiveBorder", System(11)}, {"clInactiveCaption", System(3)},
      {"clInactiveCaptionText", System(19)}, {"clInfoBk", System(24)}, {"clInfoText", System(23)},
      {"clMenu", System(4)},          {"clMenuBar", System(30)},      {"clMenuHighlight", System(29)},
      {"clMenuText", System(7)},      {"clNone", 0x1FFFFFFF},         {"clScrollBar", System(0)},
      {"cl3DDkShadow", System(21)},   {"cl3DLight", System(22)},      {"clWindow", System(5)},
      {"clWindowFrame", System(6)},   {"clWindowText", System(8)},
  };
  for (const auto& [name, value] : colours) s.DeclareConstant(name, "Integer", value);
  s.DeclareSetEnumeration("TFontStyles", "fsBold, fsItalic, fsUnderline, fsStrikeout");
  s.DeclareEnumeration("TFontPitch", "fpDefault, fpVariable, fpFixed");
  s.DeclareEnumeration("TPenStyle", "psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame");
  s.DeclareEnumeration("TPenMode",
                       "pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, "
                       "pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor");
  s.DeclareEnumeration("TBrushStyle",
                       "bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross");

  for (TClass cls : {TFont::StaticClass(), TPen::StaticClass(), TBrush::StaticClass()})
    s.DeclareClass(cls, "TPersistent")->DeclareConstructor("constructor Create", Methods);
  TfsClassVariable* c = s.DeclareClass(TCanvas::StaticClass(), "TPersistent");
  c->DeclareConstructor("constructor Create", Methods);
  for (const char* syntax : {"procedure Draw(X, Y: Integer; Graphic: TGraphic)",
                             "procedure Ellipse(X1, Y1, X2, Y2: Integer)", "procedure LineTo(X, Y: Integer)",
                             "procedure MoveTo(X, Y: Integer)", "procedure Rectangle(X1, Y1, X2, Y2: Integer)",
                             "procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer)",
                             "procedure StretchDraw(X1, Y1, X2, Y2: Integer; Graphic: TGraphic)",
                             "function TextHeight(const Text: string): Integer",
                             "procedure TextOut(X, Y: Integer; const Text: string)",
                             "function TextWidth(const Text: string): Integer"})
    c->DeclareMethod(syntax, Methods);
  c->DeclareIndexedProperty("Pixels", "Integer, Integer", "TColor", Methods);
  c = s.DeclareClass(TGraphic::StaticClass(), "TPersistent");
  c->DeclareConstructor("constructor Create", Methods);
  c->DeclareMethod("procedure LoadFromFile(const Filename: string)", Methods);
  c->DeclareMethod("procedure SaveToFile(const Filename: string)", Methods);
  c->DeclareProperty("Height", "Integer", Getter, Setter);
  c->DeclareProperty("Width", "Integer", Getter, Setter);
  c = s.DeclareClass(TPicture::StaticClass(), "TPersistent");
  c->DeclareMethod("procedure LoadFromFile(const Filename: string)", Methods);
  c->DeclareMethod("procedure SaveToFile(const Filename: string)", Methods);
  c->DeclareProperty("Height", "Integer", Getter);
  c->DeclareProperty("Width", "Integer", Getter);
  s.DeclareClass(TMetafile::StaticClass(), "TGraphic");
  c = s.DeclareClass(TMetafileCanvas::StaticClass(), "TCanvas");
  c->DeclareConstructor("constructor Create(AMetafile: TMetafile; ReferenceDevice: Integer)", Methods);
  c = s.DeclareClass(TBitmap::StaticClass(), "TGraphic");
  c->DeclareProperty("Canvas", "TCanvas", Getter);
}

void Register() {
  static bool done = false;
  if (done) return;
  done = true;
  fsRegisterHostModule([](TfsScript* script) -> TfsRTTIModule* { return new TFunctions(script); });
}

}  // namespace fs_igraphicsrtti
