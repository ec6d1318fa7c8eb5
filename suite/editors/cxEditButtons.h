// The buttons of an editor: a collection owned by the editor's properties.
// Every change of a button reaches the collection's OnChange, through which
// the properties announce their change.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Graphics.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/TypInfo.h"
#include "suite/editors/cxEditTypes.h"

class TcxEditButton : public TCollectionItem {
  VXN_DECLARE_CLASS(TcxEditButton)

 public:
  explicit TcxEditButton(TCollection* Collection);
  ~TcxEditButton() override;

  void Assign(TPersistent* Source) override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  bool Default() const { return FDefault; }
  // True clears Default on every other button of the collection.
  void SetDefault(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Made on first read.
  TBitmap* Glyph();
  // Copies Value into the glyph; nil frees it.
  void SetGlyph(TBitmap* Value);
  bool HasGlyph() const { return FGlyph != nullptr; }
  TcxEditButtonKind Kind() const { return FKind; }
  void SetKind(TcxEditButtonKind Value);
  bool LeftAlignment() const { return FLeftAlignment; }
  void SetLeftAlignment(bool Value);
  bool Stretchable() const { return FStretchable; }
  void SetStretchable(bool Value);
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // The caption without accelerator marks, as a text button shows it.
  const std::string& VisibleCaption() const { return FVisibleCaption; }
  // 0: as wide as the kind needs.
  Integer Width() const { return FWidth; }
  // A negative width is refused (the button keeps its width).
  void SetWidth(Integer Value);

 private:
  void GlyphChanged(TObject* Sender);

  std::string FCaption;
  std::string FVisibleCaption;
  bool FDefault = false;
  bool FEnabled = true;
  std::unique_ptr<TBitmap> FGlyph;
  TcxEditButtonKind FKind = bkDown;
  bool FLeftAlignment = false;
  bool FStretchable = true;
  TColor FTextColor = clBtnText;
  bool FVisible = true;
  Integer FWidth = 0;
};

class TcxEditButtons : public TOwnedCollection {
  VXN_DECLARE_CLASS(TcxEditButtons)

 public:
  explicit TcxEditButtons(TPersistent* AOwner);

  TcxEditButton* Items(Integer Index) const { return static_cast<TcxEditButton*>(TCollection::Items(Index)); }
  // Announces the new button once it is whole: a listener that lays the
  // buttons out must not meet one still being made.
  TcxEditButton* Add();
  Integer VisibleCount() const;

  TNotifyEvent OnChange;

 protected:
  void Update(TCollectionItem* Item) override;
};

void RegisterEditButtonsClasses();
