// How a suite control is drawn: its look-and-feel (Kind and NativeStyle),
// which follows a master look-and-feel for the values its owner has not
// set, with one root look-and-feel at the top of every chain; the
// controller component that is the design-time face of the root; and the
// shared hidden window through which system colour changes reach every
// look-and-feel.
#pragma once

#include <vector>

#include "platform/rtl/Components.h"
#include "suite/foundation/cxClasses.h"
#include "suite/foundation/cxLookAndFeelPainters.h"

struct TMessage;

VXN_ENUM(TcxLookAndFeelValue, lfvKind, lfvNativeStyle)
using TcxLookAndFeelValues = TSet<TcxLookAndFeelValue>;

class TcxLookAndFeel;
class TcxSystemPaletteChangedNotifier;

// Told by a master look-and-feel of its changes and of its end.
class IcxLookAndFeelListener {
 public:
  static constexpr const char* IID = "{205538BF-F19E-4285-B11F-B182D9635881}";
  virtual ~IcxLookAndFeelListener() = default;
  virtual TObject* GetListenerObject() = 0;
  virtual void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) = 0;
  virtual void MasterDestroying(TcxLookAndFeel* Sender) = 0;
};

using TcxLookAndFeelChangedEvent = TDelegate<void(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues)>;

class TcxLookAndFeel : public TcxInterfacedPersistent, public IcxLookAndFeelListener {
  VXN_DECLARE_CLASS(TcxLookAndFeel)

 public:
  explicit TcxLookAndFeel(TPersistent* AOwner);
  ~TcxLookAndFeel() override;

  void Assign(TPersistent* Source) override;

  TcxLookAndFeelKind Kind() const { return FCurrentKind; }
  void SetKind(TcxLookAndFeelKind Value) { ChangeKind(Value); }
  bool NativeStyle() const { return FCurrentNativeStyle; }
  void SetNativeStyle(bool Value);
  TcxLookAndFeelValues AssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxLookAndFeelValues Value);
  void ClearAssignedValues() { SetAssignedValues(TcxLookAndFeelValues()); }

  // The master, or the root when none is set; none for the root itself.
  TcxLookAndFeel* MasterLookAndFeel() const;
  void SetMasterLookAndFeel(TcxLookAndFeel* Value);

  TcxCustomLookAndFeelPainterClass Painter() const { return PainterForThemeClasses(0); }
  TcxCustomLookAndFeelPainterClass PainterForThemeClass(int AThemeClass) const;
  TcxCustomLookAndFeelPainterClass PainterForThemeClasses(unsigned AThemeClasses) const;

  void AddChangeListener(IcxLookAndFeelListener* AListener);
  void RemoveChangeListener(IcxLookAndFeelListener* AListener);
  Integer ChangeListenerCount() const { return static_cast<Integer>(FChangeListenerList.size()); }

  bool IsRootLookAndFeel() const { return FIsRootLookAndFeel; }
  bool IsDestroying() const { return FIsDestroying; }

  TcxLookAndFeelChangedEvent OnChanged;

  // IcxLookAndFeelListener
  TObject* GetListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) override;
  void MasterDestroying(TcxLookAndFeel* Sender) override;

  // Published accessors.
  bool KindStored() const { return FAssignedValues.Contains(lfvKind); }
  bool NativeStyleStored() const { return FAssignedValues.Contains(lfvNativeStyle); }

 protected:
  virtual TcxLookAndFeelKind EffectiveKind() const;
  virtual bool EffectiveNativeStyle() const;
  virtual void SystemColorsChanged(TObject* Sender);

  TcxLookAndFeelKind InheritedKind() const;
  bool InheritedNativeStyle() const;
  void Changed(TcxLookAndFeelValues AChangedValues);
  void ChangeKind(TcxLookAndFeelKind Value);
  void SaveState();
  void CheckChanges();
  void HandleMasterChanged(TcxLookAndFeelValues AChangedValues);
  // Refreshes the cached effective values (after construction too).
  void UpdateCache();

 private:
  friend void InitializeLookAndFeels();

  TcxLookAndFeelKind FKind = lfUltraFlat;
  bool FNativeStyle = false;
  TcxLookAndFeelValues FAssignedValues;
  TcxLookAndFeelKind FCurrentKind = lfUltraFlat;
  bool FCurrentNativeStyle = false;
  TcxLookAndFeelKind FPrevKind = lfUltraFlat;
  bool FPrevNativeStyle = false;
  TcxLookAndFeel* FMasterLookAndFeel = nullptr;
  std::vector<IcxLookAndFeelListener*> FChangeListenerList;
  bool FIsRootLookAndFeel = false;
  bool FIsDestroying = false;
  Integer FControllerCount = 0;
  std::unique_ptr<TcxSystemPaletteChangedNotifier> FSystemPaletteChangedNotifier;
};

// The root look-and-feel; none before the module starts and after it ends.
TcxLookAndFeel* TopLevelLookAndFeel();

// The design-time face of the root: reads and writes the root's values.
class TcxLookAndFeelController : public TComponent, public IcxLookAndFeelListener {
  VXN_DECLARE_CLASS(TcxLookAndFeelController)

 public:
  explicit TcxLookAndFeelController(TComponent* AOwner);
  ~TcxLookAndFeelController() override;

  TcxLookAndFeelKind Kind() const;
  void SetKind(TcxLookAndFeelKind Value);
  bool NativeStyle() const;
  void SetNativeStyle(bool Value);

  TObject* GetListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) override;
  void MasterDestroying(TcxLookAndFeel* Sender) override;
};

// Told when the system colours change. Primary notifiers (shared pictures,
// brush caches) are told before the ordinary ones (look-and-feels).
class TcxSystemPaletteChangedNotifier : public TObject {
  VXN_DECLARE_CLASS(TcxSystemPaletteChangedNotifier)

 public:
  explicit TcxSystemPaletteChangedNotifier(bool AIsPrimary = false);
  ~TcxSystemPaletteChangedNotifier() override;

  bool IsPrimary() const { return FIsPrimary; }
  TNotifyEvent OnSystemPaletteChanged;

  virtual void DoSystemPaletteChanged();

 private:
  bool FIsPrimary;
};

// The one hidden window that hears WM_SYSCOLORCHANGE; it lives while any
// notifier does, and holds the Office 11 palette for as long.
class TcxSystemPaletteChangedListener : public TObject {
  VXN_DECLARE_CLASS(TcxSystemPaletteChangedListener)

 public:
  TcxSystemPaletteChangedListener();
  ~TcxSystemPaletteChangedListener() override;

  void AddNotifier(TcxSystemPaletteChangedNotifier* ANotifier, bool AIsPrimary);
  void RemoveNotifier(TcxSystemPaletteChangedNotifier* ANotifier, bool AIsPrimary);
  // The Office 11 palette, then the primary notifiers last to first, then
  // the ordinary ones last to first.
  void NotifyAll();
  win::HWND Handle() const { return FWindowHandle; }

 private:
  void WndProc(TMessage& Message);
  win::HWND FWindowHandle = nullptr;
  std::vector<TcxSystemPaletteChangedNotifier*> FPrimaryNotifiers;
  std::vector<TcxSystemPaletteChangedNotifier*> FNotifiers;
};

TcxSystemPaletteChangedListener* AcquirePaletteListener();
void ReleasePaletteListener();
// The shared listener, or null when no notifier exists.
TcxSystemPaletteChangedListener* PaletteListener();

// Module start (creates the root) and end (frees it).
void InitializeLookAndFeels();
void FinalizeLookAndFeels();
void RegisterLookAndFeelsClasses();
