// The persistent and component model: TPersistent (assignment, owner,
// extra stream data), TComponent (ownership, names, free notification,
// loading state) and collections of persistent items.
//
// Ownership: a component owns the components created with it as owner and
// frees them, last created first, when it is freed. Every other reference
// between components is a raw pointer that the holder clears in
// Notification(AComponent, opRemove): components of one owner hear of each
// other's removal, and any other component asks with FreeNotification.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Delegates.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"
#include "platform/rtl/TypInfo.h"

class TReader;
class TWriter;
class TStream;
class TComponent;
class TCollection;
class TCollectionItem;

class EComponentError : public Exception {
  VXN_DECLARE_CLASS(EComponentError)

 public:
  using Exception::Exception;
};

inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SInvalidName = "'%s' is not a valid component name";
inline constexpr const char* SDuplicateName = "A component named %s already exists";
inline constexpr const char* SInvalidCollectionItem = "%s is not a valid item for %s";

// ---------------------------------------------------------------------------
// Filer: what DefineProperties sees of a reader or a writer.

using TReaderProc = std::function<void(TReader& Reader)>;
using TWriterProc = std::function<void(TWriter& Writer)>;
using TStreamProc = std::function<void(TStream& Stream)>;

class TFiler : public TObject {
  VXN_DECLARE_CLASS(TFiler)

 public:
  // A value stored under Name besides the published properties: ReadData is
  // called when a reader meets it, WriteData when a writer writes and
  // HasData says there is something to write.
  virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                              bool HasData) = 0;
  // The same for raw bytes (written as binary, "{ hex }" in form files).
  virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData,
                                    TStreamProc WriteData, bool HasData) = 0;

  TComponent* Root = nullptr;
  TComponent* LookupRoot = nullptr;
};

// ---------------------------------------------------------------------------

class TPersistent : public TObject {
  VXN_DECLARE_CLASS(TPersistent)

 public:
  // Copies Source into this object; classes that know how override it (and
  // call the inherited one for sources they do not know). The default asks
  // Source->AssignTo(this); nil raises EConvertError.
  virtual void Assign(TPersistent* Source);
  // The object (component, collection, ...) that this one belongs to.
  virtual TPersistent* GetOwner() { return nullptr; }
  // Dotted name for messages: the owner's path and this object's name.
  virtual std::string GetNamePath();

  // Registers values that are not published properties with the filer.
  virtual void DefineProperties(TFiler* Filer) { (void)Filer; }

 protected:
  // The reverse direction of Assign; the default raises EConvertError
  // "Cannot assign a <source> to a <dest>".
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};

// A persistent that other objects may use through interfaces (abstract
// classes without reference counting, reached with Supports).
class TInterfacedPersistent : public TPersistent {
  VXN_DECLARE_CLASS(TInterfacedPersistent)
};

// ---------------------------------------------------------------------------
// Components.

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  VXN_DECLARE_CLASS(TComponent)

 public:
  using TOwnerClass = TComponent;

  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  void BeforeDestruction() override;

  TComponent* Owner() const { return Owner_; }
  Integer ComponentCount() const { return static_cast<Integer>(Components_.size()); }
  // EListError for an index outside 0..ComponentCount-1.
  TComponent* Components(Integer Index) const;
  // Position in the owner's list, -1 without owner; setting moves it.
  Integer ComponentIndex() const;
  void SetComponentIndex(Integer Value);

  const std::string& Name() const { return Name_; }
  // EComponentError for a name that is not an identifier or that another
  // component of the same owner has (case-insensitive).
  virtual void SetName(const std::string& NewName);
  Integer Tag = 0;

  TComponentState ComponentState() const { return State_; }
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetInline(bool Value);

  TComponent* FindComponent(std::string_view AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Frees every owned component, last created first.
  void DestroyComponents();
  // Marks this component and all it owns as being destroyed.
  void Destroying();

  // Asks to hear (Notification opRemove) when AComponent is freed; the
  // request is mutual and lapses when either side is freed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Streaming hooks.
  virtual void GetChildren(TGetChildProc Proc, TComponent* Root) {
    (void)Proc;
    (void)Root;
  }
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) { (void)Value; }
  // A stream that gives a child's place among its parent's children.
  virtual void SetChildOrder(TComponent* Child, Integer Order) {
    (void)Child;
    (void)Order;
  }
  virtual void ReadState(TReader& Reader);
  virtual void WriteState(TWriter& Writer);
  TPersistent* GetOwner() override { return Owner_; }
  std::string GetNamePath() override { return Name_; }

 protected:
  friend class TReader;
  friend class TWriter;
  friend bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);

  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Called once a stream has been read into the component and every
  // reference fixed up; clears csLoading.
  virtual void Loaded();
  virtual void ValidateRename(TComponent* AComponent, const std::string& CurName,
                              const std::string& NewName);
  virtual void ValidateInsert(TComponent* AComponent) { (void)AComponent; }
  // Sets the name without validation (the reader renames duplicates).
  void ChangeName(const std::string& NewName) { Name_ = NewName; }
  void SetState(TComponentStateItem Item, bool On);

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* Owner_ = nullptr;
  std::string Name_;
  std::vector<TComponent*> Components_;
  std::vector<TComponent*> FreeNotifies_;
  TComponentState State_;
};

// Creates a component of a class by reference through its virtual
// constructor; EClassNotFound when the class is not a creatable component.
TComponent* CreateComponent(TClass ComponentClass, TComponent* AOwner);

// Forms and data modules announce themselves here so that streams can
// resolve "Form.Component" references; a root is dropped when it is freed.
void AddGlobalRoot(TComponent* Root);
void RemoveGlobalRoot(TComponent* Root);
TComponent* FindGlobalComponent(std::string_view Name);

// ---------------------------------------------------------------------------
// Collections.

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  VXN_DECLARE_CLASS(TCollectionItem)

 public:
  using TOwnerClass = TCollection;

  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return Collection_; }
  void SetCollection(TCollection* Value);
  Integer ID() const { return ID_; }
  Integer Index() const;
  virtual void SetIndex(Integer Value);
  // The text a designer or a list shows; the class name by default.
  virtual std::string DisplayName() { return ClassName(); }
  virtual void SetDisplayName(const std::string& Value);
  TPersistent* GetOwner() override;
  std::string GetNamePath() override;

 protected:
  // Tells the collection: AllItems for a change that concerns the whole
  // list, else this item alone.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* Collection_ = nullptr;
  Integer ID_ = 0;
};

class TCollection : public TPersistent {
  VXN_DECLARE_CLASS(TCollection)

 public:
  explicit TCollection(TClass ItemClass);
  ~TCollection() override;

  TClass ItemClass() const { return ItemClass_; }
  Integer Count() const { return static_cast<Integer>(Items_.size()); }
  // EListError for a bad index.
  TCollectionItem* Items(Integer Index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  TCollectionItem* FindItemID(Integer ID) const;

  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return UpdateCount_; }

  // Copies the items of another collection (items assigned one by one).
  void Assign(TPersistent* Source) override;
  std::string GetNamePath() override;

 protected:
  friend class TCollectionItem;

  // Item changed: Update(item); list changed (add, remove, move, end of an
  // update): Update(nullptr). Not called while an update is open.
  virtual void Update(TCollectionItem* Item) { (void)Item; }
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {
    (void)Item;
    (void)Action;
  }
  void Changed();

 private:
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TClass ItemClass_;
  std::vector<TCollectionItem*> Items_;
  Integer UpdateCount_ = 0;
  Integer NextID_ = 0;
};

// A collection that knows the persistent it belongs to (a component's item
// list), so streams and messages can name it.
class TOwnedCollection : public TCollection {
  VXN_DECLARE_CLASS(TOwnedCollection)

 public:
  TOwnedCollection(TPersistent* AOwner, TClass ItemClass) : TCollection(ItemClass), Owner_(AOwner) {}
  TPersistent* GetOwner() override { return Owner_; }

 private:
  TPersistent* Owner_;
};

// ---------------------------------------------------------------------------
// Interfaces: abstract classes without reference counting. An interface that
// the system compares by identifier keeps it as a constant, e.g.
//   struct IcxSomething { static constexpr TGUID IID = GUID("{...}"); ... };

struct TGUID {
  uint32_t D1 = 0;
  uint16_t D2 = 0;
  uint16_t D3 = 0;
  uint8_t D4[8] = {};
  friend constexpr bool operator==(const TGUID&, const TGUID&) = default;
};

// "{61EEDA7D-88CC-45BF-8A00-5C25174D6501}" at compile time.
constexpr TGUID GUID(const char (&text)[39]) {
  auto hex = [&](int pos, int digits) {
    uint32_t v = 0;
    for (int i = 0; i < digits; ++i) {
      char c = text[pos + i];
      v = v * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return v;
  };
  TGUID g;
  g.D1 = hex(1, 8);
  g.D2 = static_cast<uint16_t>(hex(10, 4));
  g.D3 = static_cast<uint16_t>(hex(15, 4));
  g.D4[0] = static_cast<uint8_t>(hex(20, 2));
  g.D4[1] = static_cast<uint8_t>(hex(22, 2));
  for (int i = 0; i < 6; ++i) g.D4[2 + i] = static_cast<uint8_t>(hex(25 + 2 * i, 2));
  return g;
}
std::string GUIDToString(const TGUID& guid);

template <typename I>
bool Supports(TObject* instance, I*& intf) {
  intf = dynamic_cast<I*>(instance);
  return intf != nullptr;
}
template <typename I>
bool Supports(TObject* instance) {
  return dynamic_cast<I*>(instance) != nullptr;
}
