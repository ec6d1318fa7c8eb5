// Shareable editor settings: a repository item is a named component that
// owns one properties object of an editor kind; the editors linked to it
// work with its properties instead of their own, so one change reaches all
// of them. A repository lists items so that a form can keep a set of shared
// settings. The registry of editor kinds lists every properties class with
// its "Name|Description" text, sorted by name.
#pragma once

#include <memory>
#include <vector>

#include "suite/editors/EditorConstants.h"
#include "suite/editors/cxEditProperties.h"
#include "suite/foundation/cxClasses.h"

class TcxEditRepository;
class TcxEditRepositoryItem;

using TcxEditRepositoryItemClass = TClass;

// Told by an item before it goes and after each change of its properties.
class IcxRepositoryItemListener {
 public:
  virtual ~IcxRepositoryItemListener() = default;
  virtual void ItemRemoved(TcxEditRepositoryItem* Sender) = 0;
  virtual void PropertiesChanged(TcxEditRepositoryItem* Sender) = 0;
};

class TcxEditRepositoryItem : public TComponent {
  VXN_DECLARE_CLASS(TcxEditRepositoryItem)

 public:
  explicit TcxEditRepositoryItem(TComponent* AOwner);
  ~TcxEditRepositoryItem() override;

  // Tells every listener, the last first, that the properties changed; the
  // properties' change handler.
  virtual void NotifyListeners(TObject* Sender);
  // Nothing when the listener is already listed.
  virtual void AddListener(IcxRepositoryItemListener* Listener);
  virtual TcxCustomEditPropertiesClass PropertiesClass();
  virtual void RemoveListener(IcxRepositoryItemListener* Listener);

  TComponent* GetParentComponent() const override;
  bool HasParent() const override { return FRepository != nullptr; }
  void SetParentComponent(TComponent* Value) override;
  void ReadState(TReader& Reader) override;

  TcxCustomEditProperties* Properties() const { return FProperties.get(); }
  // Copies Value.
  void SetProperties(TcxCustomEditProperties* Value) { FProperties->Assign(Value); }
  TcxEditRepository* Repository() const { return FRepository; }
  void SetRepository(TcxEditRepository* Value);
  const std::vector<IcxRepositoryItemListener*>& Listeners() const { return FListeners; }

  // Groups the properties' events for a designer; no run-time behaviour.
  TNotifyEvent PropertiesEvents;

 protected:
  // For item classes of an editor kind: the properties are made of
  // APropertiesClass, which their PropertiesClass answers too.
  TcxEditRepositoryItem(TComponent* AOwner, TcxCustomEditPropertiesClass APropertiesClass);

 private:
  std::vector<IcxRepositoryItemListener*> FListeners;
  TcxEditRepository* FRepository = nullptr;
  std::unique_ptr<TcxCustomEditProperties> FProperties;
};

// Declares an item class of an editor kind: its Properties are of
// PropertiesType.
template <typename PropertiesType>
class TcxEditRepositoryItemOf : public TcxEditRepositoryItem {
 public:
  using TcxEditRepositoryItem::Properties;
  PropertiesType* KindProperties() const { return static_cast<PropertiesType*>(Properties()); }
  TcxCustomEditPropertiesClass PropertiesClass() override { return PropertiesType::StaticClass(); }

 protected:
  explicit TcxEditRepositoryItemOf(TComponent* AOwner)
      : TcxEditRepositoryItem(AOwner, PropertiesType::StaticClass()) {}
};

class TcxEditRepository : public TComponent {
  VXN_DECLARE_CLASS(TcxEditRepository)

 public:
  explicit TcxEditRepository(TComponent* AOwner);
  ~TcxEditRepository() override;

  // An item owned by the repository itself.
  virtual TcxEditRepositoryItem* NewRepositoryItem(TcxEditRepositoryItemClass AItemClass);
  virtual TcxEditRepositoryItem* CreateItemOwnedBy(TcxEditRepositoryItemClass AItemClass, TComponent* AOwner);

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TcxEditRepositoryItem* Items(Integer Index) const;
  void AddItem(TcxEditRepositoryItem* AItem);
  void RemoveItem(TcxEditRepositoryItem* AItem);
  // Frees every item, the last first.
  void Clear();
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 private:
  std::vector<TcxEditRepositoryItem*> FItems;
};

// The repository of the items that the default-editor registries make;
// created on first use.
TcxEditRepository* DefaultEditRepository();

// The registry of editor kinds: properties classes with their
// "Name|Description" texts, kept sorted by name; created on first use.
TcxRegisteredClasses* GetRegisteredEditProperties();

// The kinds' texts, as each editor kind's module registers its class (the
// progress bar's and the track bar's stand with the editor constants).
inline constexpr const char* scxSEditRepositoryBlobItem = "BlobEdit|Represents the BLOB editor";
inline constexpr const char* scxSEditRepositoryButtonItem = "ButtonEdit|Represents an edit control with embedded buttons";
inline constexpr const char* scxSEditRepositoryCalcItem =
    "CalcEdit|Represents an edit control with a dropdown calculator window";
inline constexpr const char* scxSEditRepositoryCheckBoxItem =
    "CheckBox|Represents a check box control that allows selecting an option";
inline constexpr const char* scxSEditRepositoryComboBoxItem = "ComboBox|Represents the combo box editor";
inline constexpr const char* scxSEditRepositoryCurrencyItem =
    "CurrencyEdit|Represents an editor enabling editing currency data";
inline constexpr const char* scxSEditRepositoryDateItem = "DateEdit|Represents an edit control with a dropdown calendar";
inline constexpr const char* scxSEditRepositoryHyperLinkItem =
    "HyperLink|Represents a text editor with hyperlink functionality";
inline constexpr const char* scxSEditRepositoryImageItem = "Image|Represents an image editor";
inline constexpr const char* scxSEditRepositoryImageComboBoxItem =
    "ImageComboBox|Represents an editor displaying the list of images and text strings within the dropdown window";
inline constexpr const char* scxSEditRepositoryLookupComboBoxItem =
    "LookupComboBox|Represents a lookup combo box control";
inline constexpr const char* scxSEditRepositoryMaskItem = "MaskEdit|Represents a generic masked edit control.";
inline constexpr const char* scxSEditRepositoryMemoItem = "Memo|Represents an edit control that allows editing memo data";
inline constexpr const char* scxSEditRepositoryMRUItem =
    "MRUEdit|Represents a text editor displaying the list of most recently used items (MRU) within a dropdown "
    "window";
inline constexpr const char* scxSEditRepositoryPopupItem = "PopupEdit|Represents an edit control with a dropdown list";
inline constexpr const char* scxSEditRepositoryRadioGroupItem = "RadioGroup|Represents a group of radio buttons";
inline constexpr const char* scxSEditRepositorySpinItem = "SpinEdit|Represents a spin editor";
inline constexpr const char* scxSEditRepositoryTextItem = "TextEdit|Represents a single line text editor";
inline constexpr const char* scxSEditRepositoryTimeItem = "TimeEdit|Represents an editor displaying time values";

void RegisterEditRepositoryClasses();
