// Small general classes of the control suite: persistent and component
// bases, an owning object list, two class registries, width distribution,
// weak object links, a free-notification forwarder and the one route every
// message text of the suite takes.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/Delegates.h"

// A persistent that knows its owner; descendants are created from a class
// reference through the owner-taking constructor.
class TcxInterfacedPersistent : public TInterfacedPersistent {
  VXN_DECLARE_CLASS(TcxInterfacedPersistent)

 public:
  using TOwnerClass = TPersistent;

  explicit TcxInterfacedPersistent(TPersistent* AOwner) : FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// The owner of any persistent, as its owner query answers.
TPersistent* GetPersistentOwner(TPersistent* APersistent);

// A component that lets the design tool remember up to three components it
// uses internally (the fake links), and that clears the weak links to it
// when it dies.
class TcxComponent : public TComponent {
  VXN_DECLARE_CLASS(TcxComponent)

 public:
  static constexpr Integer FakeComponentLinkCount = 3;

  explicit TcxComponent(TComponent* AOwner);
  ~TcxComponent() override;
  void BeforeDestruction() override;

  TComponent* FakeComponentLink(Integer Index) const { return FFakeLinks[Index]; }
  void SetFakeComponentLink(Integer Index, TComponent* Value);
  TComponent* GetFakeComponentLink1() const { return FFakeLinks[0]; }
  TComponent* GetFakeComponentLink2() const { return FFakeLinks[1]; }
  TComponent* GetFakeComponentLink3() const { return FFakeLinks[2]; }
  void SetFakeComponentLink1(TComponent* Value) { SetFakeComponentLink(0, Value); }
  void SetFakeComponentLink2(TComponent* Value) { SetFakeComponentLink(1, Value); }
  void SetFakeComponentLink3(TComponent* Value) { SetFakeComponentLink(2, Value); }

 protected:
  // Adds the components to remember; nothing by default.
  virtual void GetFakeComponentLinks(TList* List) { (void)List; }
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void UpdateFakeLinks();

 private:
  TComponent* FFakeLinks[FakeComponentLinkCount] = {};
};

// A pointer list that owns its items (TObject descendants): Clear frees them.
class TcxObjectList : public TList {
  VXN_DECLARE_CLASS(TcxObjectList)

 public:
  TcxObjectList() = default;
  ~TcxObjectList() override;
  void Clear() override;
};

// Classes keyed by a "Name|Description" text, in registration order or,
// when Sorted, by name.
class TcxRegisteredClasses : public TObject {
  VXN_DECLARE_CLASS(TcxRegisteredClasses)

 public:
  explicit TcxRegisteredClasses(bool ARegisterClasses = false) : FRegisterClasses(ARegisterClasses) {}
  ~TcxRegisteredClasses() override;

  // Nothing when the class is already registered (whatever its text).
  void Register(TClass AClass, const std::string& ADescription);
  void Unregister(TClass AClass);
  void ClearEntries();

  Integer Count() const { return static_cast<Integer>(FEntries.size()); }
  Integer IndexOfClass(TClass AClass) const;
  TClass Items(Integer Index) const;
  const std::string& Descriptions(Integer Index) const;
  std::string NameOf(Integer Index) const;

  bool Sorted() const { return FSorted; }
  // Switching on sorts at once; switching off keeps the current order.
  void AssignSorted(bool Value);
  bool RegisterClasses() const { return FRegisterClasses; }

 protected:
  struct Entry {
    std::string Description;
    TClass Class;
  };
  virtual Integer CompareEntries(const Entry& A, const Entry& B) const;
  virtual void SortEntries();

 private:
  const Entry& EntryAt(Integer Index) const;

  std::vector<Entry> FEntries;
  bool FSorted = false;
  bool FRegisterClasses;
};

class TcxRegisteredClassListItemData : public TObject {
  VXN_DECLARE_CLASS(TcxRegisteredClassListItemData)

 public:
  TcxRegisteredClassListItemData(TClass AItemClass, TClass ARegisteredClass)
      : ItemClass(AItemClass), RegisteredClass(ARegisteredClass) {}

  TClass ItemClass;
  TClass RegisteredClass;
};

// Pairs (item class, registered class) ordered by inheritance: a class
// stands after its nearest registered ancestor and before its descendants,
// so FindEntry, which scans from the end, meets the most derived match
// first.
class TcxRegisteredClassList : public TObject {
  VXN_DECLARE_CLASS(TcxRegisteredClassList)

 public:
  TcxRegisteredClassList() = default;
  ~TcxRegisteredClassList() override;

  // Pass Index = -1. True with the entry of AItemClass or its nearest
  // ancestor; false with -1 or the first entry that descends from it.
  virtual bool FindEntry(TClass AItemClass, Integer& Index) const;
  virtual void Register(TClass AItemClass, TClass ARegisteredClass);
  virtual void Unregister(TClass AItemClass, TClass ARegisteredClass);

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  const TcxRegisteredClassListItemData& Items(Integer Index) const;

 private:
  std::vector<std::unique_ptr<TcxRegisteredClassListItemData>> FItems;
};

class TcxAutoWidthItem : public TObject {
  VXN_DECLARE_CLASS(TcxAutoWidthItem)

 public:
  Integer MinWidth = 0;
  Integer Width = 0;
  bool Fixed = false;
  Integer AutoWidth = -1;  // -1: not yet calculated
};

// Hands AvailableWidth out to its items in proportion to their Width,
// keeping each at least at its MinWidth and Fixed items at their Width.
class TcxAutoWidthObject : public TObject {
  VXN_DECLARE_CLASS(TcxAutoWidthObject)

 public:
  explicit TcxAutoWidthObject(Integer ACapacity = 0);
  ~TcxAutoWidthObject() override;

  TcxAutoWidthItem* AppendItem();
  TcxAutoWidthItem* ItemAt(Integer Index) const;
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  Integer TotalWidth() const;
  // Items that already have an AutoWidth keep it.
  void DistributeWidths();

  Integer AvailableWidth = 0;

 private:
  std::vector<std::unique_ptr<TcxAutoWidthItem>> FItems;
};

// A weak reference: Ref reads nil once the object has been destroyed (the
// object's destructor calls ClearObjectLinks).
class TcxObjectLink : public TObject {
  VXN_DECLARE_CLASS(TcxObjectLink)

 public:
  explicit TcxObjectLink(TObject* ARef) : Ref(ARef) {}
  TObject* Ref;
};

// The live links of the program; one shared instance that lives from the
// first AddObjectLink to the RemoveObjectLink of the last link.
class TcxObjectLinkController : public TObject {
  VXN_DECLARE_CLASS(TcxObjectLinkController)

 public:
  TcxObjectLink* AddLink(TObject* AObject);
  void RemoveLink(TcxObjectLink* ALink);
  void ClearLinks(TObject* AObject);

 private:
  std::vector<TcxObjectLink*> FLinks;
};

TcxObjectLink* AddObjectLink(TObject* AObject);
// Frees the link; safe after its object died.
void RemoveObjectLink(TcxObjectLink* ALink);
void ClearObjectLinks(TObject* AObject);

// Forwards the free notification of the components it listens to.
class TcxFreeNotificator : public TComponent {
  VXN_DECLARE_CLASS(TcxFreeNotificator)

 public:
  using TComponent::TComponent;

  void AddSender(TComponent* ASender);
  void RemoveSender(TComponent* ASender);

  TNotifyEvent OnFreeNotification;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
};

// Every message text of the suite passes through here once it has been
// loaded, so that a translation can be hooked in at one place. Texts are
// returned unchanged.
std::string TranslateResourceString(std::string_view resourceText);

// The part of a "Name|Description" text before the first "|" (the whole
// text when there is none).
std::string DescriptionName(std::string_view description);

TSize MakeSize(Integer width, Integer height);

// (a + b) / 2 rounded towards minus infinity.
Integer AverageDown(Integer a, Integer b);
