#include "suite/editors/cxEditButtons.h"

#include "platform/rtl/ScopeExit.h"
#include "suite/editors/cxEditPainting.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditButton, TCollectionItem)
VXN_IMPLEMENT_CLASS(TcxEditButtons, TOwnedCollection)

VXN_PUBLISH(TcxEditButton) {
  using B = TcxEditButton;
  P.Property("Caption", &B::Caption, &B::SetCaption);
  P.Property("Default", &B::Default, &B::SetDefault).Default(false);
  P.Property("Enabled", &B::Enabled, &B::SetEnabled).Default(true);
  P.Property("Glyph", &B::Glyph, &B::SetGlyph).Stored(&B::HasGlyph);
  P.Property("Kind", &B::Kind, &B::SetKind).Default(bkDown);
  P.Property("LeftAlignment", &B::LeftAlignment, &B::SetLeftAlignment).Default(false);
  P.Property("Stretchable", &B::Stretchable, &B::SetStretchable).Default(true);
  P.Property("Visible", &B::Visible, &B::SetVisible).Default(true);
  P.Property("Width", &B::Width, &B::SetWidth).Default(0);
}

namespace {

// The component at the end of a persistent's owner chain, nil when none.
TComponent* OwningComponent(TPersistent* APersistent) {
  for (TPersistent* p = APersistent; p; p = p->GetOwner())
    if (auto* component = dynamic_cast<TComponent*>(p)) return component;
  return nullptr;
}

}  // namespace

TcxEditButton::TcxEditButton(TCollection* Collection) : TCollectionItem(Collection) {
  if (!Collection || Collection->Count() != 1 || Collection->Items(0) != this) return;
  TComponent* component = OwningComponent(Collection);
  if (component && component->ComponentState().Contains(csDesigning) &&
      !component->ComponentState().Contains(csLoading))
    FDefault = true;
}

TcxEditButton::~TcxEditButton() {
  if (FGlyph) FGlyph->OnChange = nullptr;
}

void TcxEditButton::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  FVisibleCaption = RemoveAccelChars(Value);
  Changed(false);
}

void TcxEditButton::SetDefault(bool Value) {
  if (Value == FDefault) return;
  if (Value && Collection()) {
    for (Integer i = 0; i < Collection()->Count(); ++i)
      static_cast<TcxEditButton*>(Collection()->Items(i))->FDefault = false;
  }
  FDefault = Value;
  Changed(true);
}

void TcxEditButton::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Changed(false);
}

TBitmap* TcxEditButton::Glyph() {
  if (!FGlyph) {
    FGlyph = std::make_unique<TBitmap>();
    FGlyph->OnChange = TNotifyEvent(this, &TcxEditButton::GlyphChanged);
  }
  return FGlyph.get();
}

void TcxEditButton::SetGlyph(TBitmap* Value) {
  if (Value) {
    Glyph()->Assign(Value);
  } else {
    if (FGlyph) FGlyph->OnChange = nullptr;
    FGlyph.reset();
  }
  Changed(false);
}

void TcxEditButton::GlyphChanged(TObject*) { Changed(false); }

void TcxEditButton::SetKind(TcxEditButtonKind Value) {
  if (Value == FKind) return;
  FKind = Value;
  Changed(false);
}

void TcxEditButton::SetLeftAlignment(bool Value) {
  if (Value == FLeftAlignment) return;
  FLeftAlignment = Value;
  Changed(false);
}

void TcxEditButton::SetStretchable(bool Value) {
  if (Value == FStretchable) return;
  FStretchable = Value;
  Changed(false);
}

void TcxEditButton::SetTextColor(TColor Value) {
  if (Value == FTextColor) return;
  FTextColor = Value;
  Changed(false);
}

void TcxEditButton::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Changed(false);
}

void TcxEditButton::SetWidth(Integer Value) {
  // A negative width would have no meaning to the layout; refusing it keeps
  // the width one the layout can use.
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  Changed(false);
}

void TcxEditButton::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxEditButton*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  TCollection* collection = Collection();
  if (collection) collection->BeginUpdate();
  ScopeExit endUpdate([collection] {
    if (collection) collection->EndUpdate();
  });
  SetCaption(source->Caption());
  FVisibleCaption = source->VisibleCaption();
  SetDefault(source->Default());
  SetEnabled(source->Enabled());
  SetGlyph(source->FGlyph.get());
  SetKind(source->Kind());
  SetLeftAlignment(source->LeftAlignment());
  SetStretchable(source->Stretchable());
  SetTextColor(source->TextColor());
  SetVisible(source->Visible());
  SetWidth(source->Width());
}

// ---------------------------------------------------------------------------

TcxEditButtons::TcxEditButtons(TPersistent* AOwner) : TOwnedCollection(AOwner, TcxEditButton::StaticClass()) {}

TcxEditButton* TcxEditButtons::Add() {
  BeginUpdate();
  ScopeExit announce([this] { EndUpdate(); });
  return static_cast<TcxEditButton*>(TCollection::Add());
}

Integer TcxEditButtons::VisibleCount() const {
  Integer count = 0;
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->Visible()) ++count;
  return count;
}

void TcxEditButtons::Update(TCollectionItem*) {
  if (OnChange) OnChange(this);
}

void RegisterEditButtonsClasses() { RegisterClasses({TcxEditButton::StaticClass()}); }
