#include "tests/platform/rtl/ComponentFixtures.h"

#include <algorithm>

namespace fixtures {

VXN_IMPLEMENT_CREATABLE_CLASS(TTestFont, TPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TTestItem, TCollectionItem)
VXN_IMPLEMENT_CLASS(TTestItems, TOwnedCollection)
VXN_IMPLEMENT_CREATABLE_CLASS(TTestControl, TComponent)
VXN_IMPLEMENT_CREATABLE_CLASS(TTestButton, TTestControl)
VXN_IMPLEMENT_CREATABLE_CLASS(TTestForm, TTestControl)
VXN_IMPLEMENT_CREATABLE_CLASS(TTestNonVisual, TComponent)
VXN_IMPLEMENT_CREATABLE_CLASS(TTestDataModule, TComponent)

VXN_PUBLISH(TTestFont) {
  P.Property("Charset", &TTestFont::Charset).Type(TypeInfoFontCharset()).Default(1);
  P.Property("Color", &TTestFont::Color).Type(TypeInfoColor()).Default(clWindowText);
  P.Property("Name", &TTestFont::Name);
  P.Property("Size", &TTestFont::Size).Default(8);
  P.Property("Style", &TTestFont::Style).Default(0);
}

VXN_PUBLISH(TTestItem) {
  P.Property("Caption", &TTestItem::Caption);
  P.Property("Width", &TTestItem::Width).Default(50);
  P.Property("Kind", &TTestItem::Kind).Default(alNone);
}

VXN_PUBLISH(TTestControl) {
  P.Property("Left", &TTestControl::Left);
  P.Property("Top", &TTestControl::Top);
  P.Property("Width", &TTestControl::Width);
  P.Property("Height", &TTestControl::Height);
  P.Property("Caption", &TTestControl::Caption);
  P.Property("Color", &TTestControl::Color)
      .Type(TypeInfoColor())
      .Default(clBtnFace)
      .Stored(&TTestControl::ColorStored);
  P.Property("Enabled", &TTestControl::Enabled).Default(true);
  P.Property("Align", &TTestControl::Align).Default(alNone);
  P.Property("Anchors", &TTestControl::Anchors).Default(TTestAnchors{akLeft, akTop}.Bits());
  P.Property("Cursor", &TTestControl::Cursor).Type(TypeInfoCursor()).Default(crDefault);
  P.Property("ModalResult", &TTestControl::ModalResult).Type(TypeInfoModalResult()).Default(mrNone);
  P.Property("Ratio", &TTestControl::Ratio);
  P.Property("Stamp", &TTestControl::Stamp).Type(TypeInfoDateTime());
  P.Property("Big", &TTestControl::Big);
  P.Property("Price", &TTestControl::Price);
  P.Property("Wide", &TTestControl::Wide);
  P.Property("Data", &TTestControl::Data);
  P.Property("Accel", &TTestControl::Accel).Default(0);
  P.Property("Font", &TTestControl::GetFont, nullptr);
  P.Property("Lines", &TTestControl::GetLines, nullptr);
  P.Property("Columns", &TTestControl::GetColumns, nullptr);
  P.Property("Buddy", &TTestControl::GetBuddy, &TTestControl::SetBuddy);
  P.Event("OnClick", &TTestControl::OnClick);
  P.Event("OnChange", &TTestControl::OnChange);
}

VXN_PUBLISH(TTestButton) {
  P.Property("Default", &TTestButton::Default).Default(0);
  P.Redeclare("Width").Default(75);
}

VXN_PUBLISH(TTestForm) {
  P.Handler("btnOkClick", &TTestForm::btnOkClick);
  P.Handler("EditChange", &TTestForm::EditChange);
}

VXN_PUBLISH(TTestNonVisual) {
  P.Property("Target", &TTestNonVisual::GetTarget, &TTestNonVisual::SetTarget);
}

std::vector<std::string>& LoadedLog() {
  static std::vector<std::string> log;
  return log;
}

void TTestFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TTestFont*>(Source)) {
    Name = f->Name;
    Size = f->Size;
    Color = f->Color;
    Style = f->Style;
    Charset = f->Charset;
    return;
  }
  TPersistent::Assign(Source);
}

void TTestItem::Assign(TPersistent* Source) {
  if (auto* i = dynamic_cast<TTestItem*>(Source)) {
    Caption = i->Caption;
    Width = i->Width;
    Kind = i->Kind;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TTestItems::Update(TCollectionItem* Item) {
  Notices.push_back(Item ? "update:" + IntToStr(Item->Index()) : "update:all");
}

void TTestItems::Notify(TCollectionItem*, TCollectionNotification Action) {
  static const char* names[] = {"added", "extracting", "deleting"};
  Notices.push_back(names[Action]);
}

TTestControl::TTestControl(TComponent* AOwner)
    : TComponent(AOwner), Font_(new TTestFont), Lines_(new TStringList), Columns_(new TTestItems(this)) {}

TTestControl::~TTestControl() {
  SetParentComponent(nullptr);
  for (TTestControl* c : Controls_) c->Parent_ = nullptr;
  delete Columns_;
  delete Lines_;
  delete Font_;
}

void TTestControl::SetParentComponent(TComponent* Value) {
  auto* parent = dynamic_cast<TTestControl*>(Value);
  if (parent == Parent_) return;
  if (Parent_) {
    auto& list = Parent_->Controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  Parent_ = parent;
  if (Parent_) Parent_->Controls_.push_back(this);
}

void TTestControl::GetChildren(TGetChildProc Proc, TComponent*) {
  for (TTestControl* c : Controls_) Proc(c);
}

void TTestControl::SetBuddy(TComponent* Value) {
  if (Buddy_ == Value) return;
  if (Buddy_) Buddy_->RemoveFreeNotification(this);
  Buddy_ = Value;
  if (Buddy_) Buddy_->FreeNotification(this);
}

void TTestControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == Buddy_) Buddy_ = nullptr;
}

void TTestControl::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Glyph.Data",
      [this](TStream& s) {
        Glyph.assign(static_cast<size_t>(s.Size()), '\0');
        s.ReadBuffer(Glyph.data(), s.Size());
      },
      [this](TStream& s) { s.WriteBuffer(Glyph.data(), static_cast<Int64>(Glyph.size())); },
      !Glyph.empty());
  Filer->DefineProperty(
      "LegacyText", [this](TReader& r) { Legacy = r.ReadString(); }, nullptr, false);
}

void TTestControl::Loaded() {
  TComponent::Loaded();
  LoadedLog().push_back(Name());
}

void TTestForm::GetChildren(TGetChildProc Proc, TComponent* Root) {
  TTestControl::GetChildren(Proc, Root);
  // Components without a parent belong to the form directly.
  for (Integer i = 0; i < ComponentCount(); ++i)
    if (!Components(i)->HasParent()) Proc(Components(i));
}

void TTestForm::btnOkClick(TObject* Sender) {
  auto* c = dynamic_cast<TComponent*>(Sender);
  Calls.push_back("btnOkClick:" + (c ? c->Name() : std::string("?")));
}

void TTestForm::EditChange(TObject*, Integer Reason) { Calls.push_back("EditChange:" + IntToStr(Reason)); }

void TTestNonVisual::SetTarget(TComponent* Value) {
  if (Target_ == Value) return;
  if (Target_) Target_->RemoveFreeNotification(this);
  Target_ = Value;
  if (Target_) Target_->FreeNotification(this);
}

void TTestNonVisual::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == Target_) Target_ = nullptr;
}

void TTestNonVisual::Loaded() {
  TComponent::Loaded();
  LoadedLog().push_back(Name());
}

void TTestDataModule::GetChildren(TGetChildProc Proc, TComponent*) {
  for (Integer i = 0; i < ComponentCount(); ++i) Proc(Components(i));
}

void RegisterFixtureClasses() {
  RegisterClasses({TTestControl::StaticClass(), TTestButton::StaticClass(), TTestForm::StaticClass(),
                   TTestNonVisual::StaticClass(), TTestDataModule::StaticClass(),
                   TTestItem::StaticClass()});
}

}  // namespace fixtures
