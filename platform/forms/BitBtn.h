// The button with a glyph beside its caption, drawn by its control.
#pragma once

#include <memory>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/Graphics.h"

VXN_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)

// A push button drawn by its control: a glyph beside the caption.
class TBitBtn : public TButton {
  VXN_DECLARE_CLASS(TBitBtn)

 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;

  TBitBtnKind Kind() const { return Kind_; }
  // Gives the button the caption, result and default or cancel role of its kind.
  void SetKind(TBitBtnKind Value);
  TBitmap* Glyph() const { return Glyph_.get(); }
  void SetGlyph(TBitmap* Value);
  Integer NumGlyphs() const { return NumGlyphs_; }
  void SetNumGlyphs(Integer Value);
  TButtonLayout Layout() const { return Layout_; }
  void SetLayout(TButtonLayout Value);
  Integer Margin() const { return Margin_; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return Spacing_; }
  void SetSpacing(Integer Value);

  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;

 private:
  void DrawItem(const win::DRAWITEMSTRUCT& Item);
  std::unique_ptr<TBitmap> Glyph_;
  std::unique_ptr<TCanvas> Canvas_;
  TBitBtnKind Kind_ = bkCustom;
  Integer NumGlyphs_ = 1;
  TButtonLayout Layout_ = blGlyphLeft;
  Integer Margin_ = -1;
  Integer Spacing_ = 4;
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterBitBtnClasses();
