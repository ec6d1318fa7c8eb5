#include "script/fs_ievents.h"

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/Utf8.h"

VXN_IMPLEMENT_CLASS(TfsNotifyEvent, TfsCustomEvent)
VXN_IMPLEMENT_CLASS(TfsMouseEvent, TfsCustomEvent)
VXN_IMPLEMENT_CLASS(TfsMouseMoveEvent, TfsCustomEvent)
VXN_IMPLEMENT_CLASS(TfsKeyEvent, TfsCustomEvent)
VXN_IMPLEMENT_CLASS(TfsKeyPressEvent, TfsCustomEvent)
VXN_IMPLEMENT_CLASS(TfsCloseEvent, TfsCustomEvent)
VXN_IMPLEMENT_CLASS(TfsCloseQueryEvent, TfsCustomEvent)
VXN_IMPLEMENT_CLASS(TfsCanResizeEvent, TfsCustomEvent)

namespace {

// The handler's parameter i as it stands after the run (also when the run
// was dropped because the handler was running already).
Variant Param(const TfsCustomEvent& e, Integer i) {
  return e.Handler && i < e.Handler->Count() ? e.Handler->Params(i)->GetValue() : Variant();
}

// The set's bits in declaration order: ssShift 1, ssAlt 2, ssCtrl 4, ...
Integer Bits(TShiftState s) { return static_cast<Integer>(s.Bits() & 0xFF); }

}  // namespace

TMethod TfsNotifyEvent::GetMethod() { return TNotifyEvent(this, &TfsNotifyEvent::DoEvent).AsMethod(); }
void TfsNotifyEvent::DoEvent(TObject* Sender) { CallHandler({VarFromObject(Sender)}); }

TMethod TfsMouseEvent::GetMethod() { return TMouseEvent(this, &TfsMouseEvent::DoEvent).AsMethod(); }
void TfsMouseEvent::DoEvent(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                            Integer Y) {
  CallHandler({VarFromObject(Sender), static_cast<Integer>(Button), Bits(Shift), X, Y});
}

TMethod TfsMouseMoveEvent::GetMethod() {
  return TMouseMoveEvent(this, &TfsMouseMoveEvent::DoEvent).AsMethod();
}
void TfsMouseMoveEvent::DoEvent(TObject* Sender, TShiftState Shift, Integer X, Integer Y) {
  CallHandler({VarFromObject(Sender), Bits(Shift), X, Y});
}

TMethod TfsKeyEvent::GetMethod() { return TKeyEvent(this, &TfsKeyEvent::DoEvent).AsMethod(); }
void TfsKeyEvent::DoEvent(TObject* Sender, Word& Key, TShiftState Shift) {
  CallHandler({VarFromObject(Sender), static_cast<Integer>(Key), Bits(Shift)});
  const Variant v = Param(*this, 1);
  if (!VarIsClear(v)) Key = static_cast<Word>(v.AsInteger());
}

TMethod TfsKeyPressEvent::GetMethod() {
  return TKeyPressEvent(this, &TfsKeyPressEvent::DoEvent).AsMethod();
}
void TfsKeyPressEvent::DoEvent(TObject* Sender, char32_t& Key) {
  CallHandler({VarFromObject(Sender), Variant(Utf8Encode(Key))});
  // The handler's text hands back its first character; an empty text, no key.
  const std::string text = VarToStr(Param(*this, 1));
  size_t pos = 0;
  Key = text.empty() ? U'\0' : Utf8Decode(text, pos);
}

TMethod TfsCloseEvent::GetMethod() { return TCloseEvent(this, &TfsCloseEvent::DoEvent).AsMethod(); }
void TfsCloseEvent::DoEvent(TObject* Sender, TCloseAction& Action) {
  CallHandler({VarFromObject(Sender), static_cast<Integer>(Action)});
  const Variant v = Param(*this, 1);
  if (!VarIsClear(v)) Action = static_cast<TCloseAction>(v.AsInteger());
}

TMethod TfsCloseQueryEvent::GetMethod() {
  return TCloseQueryEvent(this, &TfsCloseQueryEvent::DoEvent).AsMethod();
}
void TfsCloseQueryEvent::DoEvent(TObject* Sender, bool& CanClose) {
  CallHandler({VarFromObject(Sender), CanClose});
  const Variant v = Param(*this, 1);
  if (!VarIsClear(v)) CanClose = v.AsBoolean();
}

TMethod TfsCanResizeEvent::GetMethod() {
  return TCanResizeEvent(this, &TfsCanResizeEvent::DoEvent).AsMethod();
}
void TfsCanResizeEvent::DoEvent(TObject* Sender, Integer& NewWidth, Integer& NewHeight, bool& Resize) {
  CallHandler({VarFromObject(Sender), NewWidth, NewHeight, Resize});
  const Variant w = Param(*this, 1), h = Param(*this, 2), r = Param(*this, 3);
  if (!VarIsClear(w)) NewWidth = w.AsInteger();
  if (!VarIsClear(h)) NewHeight = h.AsInteger();
  if (!VarIsClear(r)) Resize = r.AsBoolean();
}
