// Small component classes for the registry, stream and form-file tests: a
// control that nests by parent, a form that is the root and owns them all,
// a non-visual component holding a reference, a font-like sub-object and a
// collection item.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/NamedInts.h"
#include "platform/rtl/TypInfo.h"

namespace fixtures {

VXN_ENUM(TTestAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
VXN_ENUM(TTestAnchorKind, akLeft, akTop, akRight, akBottom)
VXN_ENUM(TTestFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TTestAnchors = TSet<TTestAnchorKind>;
using TTestFontStyles = TSet<TTestFontStyle>;

// Every Loaded call, as "Name", in call order.
std::vector<std::string>& LoadedLog();

class TTestFont : public TPersistent {
  VXN_DECLARE_CLASS(TTestFont)

 public:
  void Assign(TPersistent* Source) override;

  std::string Name = "Tahoma";
  Integer Size = 8;
  TColor Color = clWindowText;
  TTestFontStyles Style;
  TFontCharset Charset = 1;  // DEFAULT_CHARSET
};

class TTestItem : public TCollectionItem {
  VXN_DECLARE_CLASS(TTestItem)

 public:
  using TCollectionItem::TCollectionItem;
  void Assign(TPersistent* Source) override;
  void Touch() { Changed(false); }

  std::string Caption;
  Integer Width = 50;
  TTestAlign Kind = alNone;
};

// Counts the collection's notices.
class TTestItems : public TOwnedCollection {
  VXN_DECLARE_CLASS(TTestItems)

 public:
  explicit TTestItems(TPersistent* AOwner) : TOwnedCollection(AOwner, TTestItem::StaticClass()) {}

  std::vector<std::string> Notices;  // "update:<index or all>", "added", "extracting", "deleting"

 protected:
  void Update(TCollectionItem* Item) override;
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
};

class TTestControl : public TComponent {
  VXN_DECLARE_CLASS(TTestControl)

 public:
  explicit TTestControl(TComponent* AOwner);
  ~TTestControl() override;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return Parent_; }
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  TTestControl* ParentControl() const { return Parent_; }
  const std::vector<TTestControl*>& Controls() const { return Controls_; }

  TTestFont* GetFont() { return Font_; }
  TStringList* GetLines() { return Lines_; }
  TTestItems* GetColumns() { return Columns_; }
  TComponent* GetBuddy() const { return Buddy_; }
  void SetBuddy(TComponent* Value);

  Integer Left = 0, Top = 0, Width = 0, Height = 0;
  std::string Caption;
  TColor Color = clBtnFace;
  bool Enabled = true;
  TTestAlign Align = alNone;
  TTestAnchors Anchors{akLeft, akTop};
  TCursor Cursor = crDefault;
  TModalResult ModalResult = mrNone;
  double Ratio = 0;
  TDateTime Stamp = 0;
  Int64 Big = 0;
  Currency Price;
  std::u16string Wide;
  Variant Data;
  char Accel = 0;
  std::string Glyph;   // binary data through DefineProperties
  std::string Legacy;  // a value of an older stream, read only

  TNotifyEvent OnClick;
  TDelegate<void(TObject*, Integer)> OnChange;

  bool ColorStored() const { return Color != clFuchsia; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;

 private:
  TTestControl* Parent_ = nullptr;
  std::vector<TTestControl*> Controls_;
  TTestFont* Font_;
  TStringList* Lines_;
  TTestItems* Columns_;
  TComponent* Buddy_ = nullptr;
};

class TTestButton : public TTestControl {
  VXN_DECLARE_CLASS(TTestButton)

 public:
  explicit TTestButton(TComponent* AOwner) : TTestControl(AOwner) { Width = 75; }
  Integer Default = 0;
};

class TTestForm : public TTestControl {
  VXN_DECLARE_CLASS(TTestForm)

 public:
  using TTestControl::TTestControl;
  bool HasParent() const override { return false; }
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  void btnOkClick(TObject* Sender);
  void EditChange(TObject* Sender, Integer Reason);
  std::vector<std::string> Calls;
};

class TTestNonVisual : public TComponent {
  VXN_DECLARE_CLASS(TTestNonVisual)

 public:
  using TComponent::TComponent;
  TComponent* GetTarget() const { return Target_; }
  void SetTarget(TComponent* Value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

 private:
  TComponent* Target_ = nullptr;
};

class TTestDataModule : public TComponent {
  VXN_DECLARE_CLASS(TTestDataModule)

 public:
  using TComponent::TComponent;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
};

// Registers the fixture classes by name (once).
void RegisterFixtureClasses();

}  // namespace fixtures
