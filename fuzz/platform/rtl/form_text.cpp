// Fuzz target: the text form-file reader. Any input must either read or
// raise one of the class library's exceptions; nothing may crash, leak or
// hang. A small registered component tree gives the reader classes,
// properties, sub-objects, lists, collections, references and events to
// reach.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/rtl/Classes.h"
#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/FormFiles.h"
#include "platform/rtl/NamedInts.h"
#include "platform/rtl/TypInfo.h"

namespace {

VXN_ENUM(TFuzzKind, fkNone, fkOne, fkTwo)

class TFuzzSub : public TPersistent {
  VXN_DECLARE_CLASS(TFuzzSub)

 public:
  std::string Text;
  TSet<TFuzzKind> Kinds;
};

class TFuzzItem : public TCollectionItem {
  VXN_DECLARE_CLASS(TFuzzItem)

 public:
  using TCollectionItem::TCollectionItem;
  Integer Value = 0;
};

class TFuzzNode : public TComponent {
  VXN_DECLARE_CLASS(TFuzzNode)

 public:
  explicit TFuzzNode(TComponent* AOwner)
      : TComponent(AOwner), Items(new TOwnedCollection(this, TFuzzItem::StaticClass())) {}
  ~TFuzzNode() override {
    SetRef(nullptr);
    delete Items;
  }
  bool HasParent() const override { return true; }
  void SetParentComponent(TComponent* Value) override { Parent = Value; }
  TComponent* GetRef() const { return Ref; }
  void SetRef(TComponent* Value) {
    if (Ref) Ref->RemoveFreeNotification(this);
    Ref = Value;
    if (Ref) Ref->FreeNotification(this);
  }
  void Handler(TObject*) {}

  Integer Number = 0;
  double Real = 0;
  std::string Caption;
  std::u16string Wide;
  Variant Data;
  TColor Color = clNone;
  TFuzzKind Kind = fkNone;
  bool Flag = false;
  TFuzzSub Sub;
  TStringList Lines;
  TOwnedCollection* Items;
  TComponent* Parent = nullptr;
  TComponent* Ref = nullptr;
  TNotifyEvent OnEvent;
  std::string Blob;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Ref) Ref = nullptr;
  }
  void DefineProperties(TFiler* Filer) override {
    Filer->DefineBinaryProperty(
        "Blob",
        [this](TStream& s) {
          Blob.assign(static_cast<size_t>(s.Size()), '\0');
          s.ReadBuffer(Blob.data(), s.Size());
        },
        nullptr, false);
  }
};

VXN_IMPLEMENT_CREATABLE_CLASS(TFuzzSub, TPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TFuzzItem, TCollectionItem)
VXN_IMPLEMENT_CREATABLE_CLASS(TFuzzNode, TComponent)

VXN_PUBLISH(TFuzzSub) {
  P.Property("Text", &TFuzzSub::Text);
  P.Property("Kinds", &TFuzzSub::Kinds);
}
VXN_PUBLISH(TFuzzItem) { P.Property("Value", &TFuzzItem::Value); }
VXN_PUBLISH(TFuzzNode) {
  P.Property("Number", &TFuzzNode::Number);
  P.Property("Real", &TFuzzNode::Real);
  P.Property("Caption", &TFuzzNode::Caption);
  P.Property("Wide", &TFuzzNode::Wide);
  P.Property("Data", &TFuzzNode::Data);
  P.Property("Color", &TFuzzNode::Color).Type(TypeInfoColor());
  P.Property("Kind", &TFuzzNode::Kind);
  P.Property("Flag", &TFuzzNode::Flag);
  P.Property("Sub", [](TFuzzNode& n) { return &n.Sub; }, nullptr);
  P.Property("Lines", [](TFuzzNode& n) { return &n.Lines; }, nullptr);
  P.Property("Items", &TFuzzNode::Items, nullptr);
  P.Property("Ref", &TFuzzNode::GetRef, &TFuzzNode::SetRef);
  P.Event("OnEvent", &TFuzzNode::OnEvent);
  P.Handler("Handler", &TFuzzNode::Handler);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = [] {
    RegisterClasses({TFuzzNode::StaticClass(), TFuzzItem::StaticClass()});
    return true;
  }();
  (void)registered;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TComponent* root = nullptr;
  try {
    root = ReadComponentText(text, nullptr, "fuzz.form");
  } catch (const Exception&) {
    return 0;
  }
  // What was read writes back, reads again and writes the same text: an
  // exception or a difference here is a fault.
  std::string written = WriteComponentText(root);
  root->Free();
  TComponent* again = ReadComponentText(written, nullptr, "again.form");
  std::string rewritten = WriteComponentText(again);
  again->Free();
  if (rewritten != written) __builtin_trap();
  return 0;
}
