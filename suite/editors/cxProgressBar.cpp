#include "suite/editors/cxProgressBar.h"

#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Utf8.h"
#include "suite/editors/EditorConstants.h"
#include "suite/foundation/cxVariants.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomProgressBarProperties, TcxCustomEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxProgressBarProperties, TcxCustomProgressBarProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositoryProgressBarItem, TcxEditRepositoryItem)

namespace {

template <typename S, typename C>
void PublishColor(TPublisher<S>& P, const char* Name, TColor (C::*Get)() const, void (C::*Set)(TColor),
                  TColor Default) {
  P.Property(Name, Get, Set).Type(TypeInfoColor()).Default(Default);
}

}  // namespace

VXN_PUBLISH(TcxProgressBarProperties) {
  using T = TcxProgressBarProperties;
  P.Property("BarBevelOuter", &T::BarBevelOuter, &T::SetBarBevelOuter).Default(cxbvNone);
  P.Property("BarStyle", &T::BarStyle, &T::SetBarStyle).Default(cxbsSolid);
  PublishColor(P, "BeginColor", &T::BeginColor, &T::SetBeginColor, clNavy);
  P.Property("BorderWidth", &T::BorderWidth, &T::SetBorderWidth).Default(0);
  PublishColor(P, "EndColor", &T::EndColor, &T::SetEndColor, clWhite);
  P.Property("ForegroundImage", &T::ForegroundImage, &T::SetForegroundImage).Stored(&T::IsForegroundImageStored);
  P.Property("Max", &T::Max, &T::SetMax).Stored(&T::IsMaxStored);
  P.Property("Min", &T::Min, &T::SetMin).Stored(&T::IsMinStored);
  P.Property("Orientation", &T::Orientation, &T::SetOrientation).Default(cxorHorizontal);
  PublishColor(P, "OverloadBeginColor", &T::OverloadBeginColor, &T::SetOverloadBeginColor,
               static_cast<TColor>(0x8080FF));
  PublishColor(P, "OverloadEndColor", &T::OverloadEndColor, &T::SetOverloadEndColor, clFuchsia);
  P.Property("OverloadValue", &T::OverloadValue, &T::SetOverloadValue).Stored(&T::IsOverloadValueStored);
  PublishColor(P, "PeakColor", &T::PeakColor, &T::SetPeakColor, clRed);
  P.Property("PeakSize", &T::PeakSize, &T::SetPeakSize).Default(2);
  P.Property("PeakValue", &T::PeakValue, &T::SetPeakValue).Stored(&T::IsPeakValueStored);
  P.Property("ShowOverload", &T::ShowOverload, &T::SetShowOverload).Default(false);
  P.Property("ShowPeak", &T::ShowPeak, &T::SetShowPeak).Default(false);
  P.Property("ShowText", &T::ShowText, &T::SetShowText).Default(true);
  P.Property("ShowTextStyle", &T::ShowTextStyle, &T::SetShowTextStyle).Default(cxtsPercent);
  P.Property("SolidTextColor", &T::SolidTextColor, &T::SetSolidTextColor).Default(false);
  P.Property("TextOrientation", &T::TextOrientation, &T::SetTextOrientation).Default(cxorHorizontal);
  // Readable and settable by name, never written to a form.
  P.Property("Transparent", &T::Transparent, &T::SetTransparent).Stored(false);
  P.Property("TransparentImage", &T::TransparentImage, &T::SetTransparentImage).Default(true);
}

TcxCustomProgressBarProperties::TcxCustomProgressBarProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner) {}

TcxCustomProgressBarProperties::~TcxCustomProgressBarProperties() {
  if (FForegroundImage) FForegroundImage->OnChange = nullptr;
}

template <typename T>
void TcxCustomProgressBarProperties::Change(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  NotifyChanged();
}

void TcxCustomProgressBarProperties::SetBarBevelOuter(TcxProgressBarBevelOuter Value) { Change(FBarBevelOuter, Value); }
void TcxCustomProgressBarProperties::SetBarStyle(TcxProgressBarBarStyle Value) { Change(FBarStyle, Value); }
void TcxCustomProgressBarProperties::SetBeginColor(TColor Value) { Change(FBeginColor, Value); }
void TcxCustomProgressBarProperties::SetBorderWidth(TcxBorderWidth Value) { Change(FBorderWidth, Value); }
void TcxCustomProgressBarProperties::SetEndColor(TColor Value) { Change(FEndColor, Value); }
void TcxCustomProgressBarProperties::SetOrientation(TcxProgressBarOrientation Value) { Change(FOrientation, Value); }
void TcxCustomProgressBarProperties::SetOverloadBeginColor(TColor Value) { Change(FOverloadBeginColor, Value); }
void TcxCustomProgressBarProperties::SetOverloadEndColor(TColor Value) { Change(FOverloadEndColor, Value); }
void TcxCustomProgressBarProperties::SetPeakColor(TColor Value) { Change(FPeakColor, Value); }
void TcxCustomProgressBarProperties::SetShowOverload(bool Value) { Change(FShowOverload, Value); }
void TcxCustomProgressBarProperties::SetShowPeak(bool Value) { Change(FShowPeak, Value); }
void TcxCustomProgressBarProperties::SetShowText(bool Value) { Change(FShowText, Value); }
void TcxCustomProgressBarProperties::SetShowTextStyle(TcxProgressBarTextStyle Value) { Change(FShowTextStyle, Value); }
void TcxCustomProgressBarProperties::SetSolidTextColor(bool Value) { Change(FSolidTextColor, Value); }
void TcxCustomProgressBarProperties::SetTextOrientation(TcxProgressBarOrientation Value) {
  Change(FTextOrientation, Value);
}
void TcxCustomProgressBarProperties::SetTransparentImage(bool Value) { Change(FTransparentImage, Value); }
void TcxCustomProgressBarProperties::SetPeakValue(Double Value) { Change(FPeakValue, Value); }

void TcxCustomProgressBarProperties::SetPeakSize(TcxNaturalNumber Value) {
  if (Value >= 1) Change(FPeakSize, Value);
}

TBitmap* TcxCustomProgressBarProperties::ForegroundImage() {
  if (!FForegroundImage) {
    FForegroundImage = std::make_unique<TBitmap>();
    FForegroundImage->OnChange = TNotifyEvent(this, &TcxCustomProgressBarProperties::ForegroundImageChanged);
  }
  return FForegroundImage.get();
}

void TcxCustomProgressBarProperties::SetForegroundImage(TBitmap* Value) {
  if (!Value) {
    if (!FForegroundImage) return;
    FForegroundImage->OnChange = nullptr;
    FForegroundImage.reset();
    NotifyChanged();
    return;
  }
  if (Value == FForegroundImage.get()) return;
  // The copy's change event notifies.
  ForegroundImage()->Assign(Value);
}

// --- range rules -----------------------------------------------------------------------

void TcxCustomProgressBarProperties::SetMin(Double Value) {
  if (Value == FMin) return;
  FMin = Value;
  if (FMin > FMax) FMax = FMin;
  if (FOverloadValue < FMin) FOverloadValue = FMin;
  if (FPeakValue < FMin) FPeakValue = FMin;
  NotifyChanged();
}

void TcxCustomProgressBarProperties::SetMax(Double Value) {
  if (Value == FMax || Value <= FMin) return;
  FMax = Value;
  if (FOverloadValue > FMax) FOverloadValue = FMax;
  if (FPeakValue > FMax) FPeakValue = FMax;
  NotifyChanged();
}

void TcxCustomProgressBarProperties::SetOverloadValue(Double Value) {
  if (Value == FOverloadValue) return;
  FOverloadValue = Value;
  if (FOverloadValue < FMin) FOverloadValue = FMin;
  if (FOverloadValue > FMax) FOverloadValue = FMax;
  NotifyChanged();
}

Double TcxCustomProgressBarProperties::EffectivePeakValue(Double APosition) {
  Double peak = FPeakValue;
  if (peak < FMin) peak = FMin;
  if (peak > FMax) peak = FMax;
  if (peak < APosition) peak = APosition;
  if (peak > FPeakValue) FPeakValue = peak;
  return peak;
}

// --- values -------------------------------------------------------------------------------

void TcxCustomProgressBarProperties::ConvertToEditValue(const Variant& Value, Variant& EditValue, bool) {
  EditValue = Variant(Integer{0});
  if (VarIsStr(Value)) {
    Double number = 0;
    Integer code = 0;
    Val(VarToStr(Value), number, code);
    if (code == 0) EditValue = Variant(number);
  } else if (VarIsNumberKind(Value) || VarIsDateKind(Value)) {
    EditValue = Value;
  }
}

std::u16string TcxCustomProgressBarProperties::DisplayTextOf(const Variant& Value, bool) {
  Variant converted;
  ConvertToEditValue(Value, converted, false);
  std::string text = VarToStr(converted);
  if (FShowTextStyle == cxtsPercent) text += " %";
  return Utf8ToUtf16(text);
}

// --- copying ------------------------------------------------------------------------------

void TcxCustomProgressBarProperties::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomProgressBarProperties*>(Source);
  if (!source) {
    TcxCustomEditProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  TcxCustomEditProperties::Assign(Source);
  SetBeginColor(source->BeginColor());
  SetBarBevelOuter(source->BarBevelOuter());
  SetEndColor(source->EndColor());
  SetForegroundImage(source->ForegroundImageIfAny());
  SetMin(source->Min());
  SetMax(source->Max());
  SetOrientation(source->Orientation());
  SetShowText(source->ShowText());
  SetShowTextStyle(source->ShowTextStyle());
  SetTextOrientation(source->TextOrientation());
  SetSolidTextColor(source->SolidTextColor());
  SetBarStyle(source->BarStyle());
  SetTransparentImage(source->TransparentImage());
  SetBorderWidth(source->BorderWidth());
  SetOverloadValue(source->OverloadValue());
  SetShowOverload(source->ShowOverload());
  SetOverloadBeginColor(source->OverloadBeginColor());
  SetOverloadEndColor(source->OverloadEndColor());
  SetPeakValue(source->PeakValue());
  SetShowPeak(source->ShowPeak());
  SetPeakColor(source->PeakColor());
  SetPeakSize(source->PeakSize());
}

// --- start-up -------------------------------------------------------------------------------

void RegisterEditProgressBarClasses() {
  RegisterClasses({TcxProgressBarProperties::StaticClass(), TcxEditRepositoryProgressBarItem::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxProgressBarProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositoryProgressBarItem));
}
