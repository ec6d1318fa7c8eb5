#include "suite/foundation/dxThemeManager.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/forms/Forms.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TdxThemeChangedNotificator, TObject)
VXN_IMPLEMENT_CLASS(TdxThemeChangedEventReceiver, TObject)

namespace {

const char16_t* const kClassNames[ThemeClassCount] = {
    u"Button",   u"Clock",      u"ComboBox", u"Edit",     u"ExplorerBar", u"Header",  u"ListView", u"Menu",
    u"Page",     u"Progress",   u"Rebar",    u"ScrollBar", u"Spin",       u"StartPanel", u"Status", u"Tab",
    u"TaskBand", u"TaskBar",    u"ToolBar",  u"ToolTip",  u"TrackBar",    u"TrayNotify", u"TreeView", u"Window"};

struct ThemeEntry {
  HTHEME handle = nullptr;
  std::u16string classList;  // what it was opened with; empty when none
};

struct ManagerState {
  ThemeEntry entries[ThemeClassCount];
  bool themesActive = false;
  std::unique_ptr<TdxThemeChangedEventReceiver> receiver;
  bool subscribersOpen = false;  // the subscriber list exists (library loaded)
  std::vector<TdxThemeChangedNotificator*> subscribers;
};

ManagerState& State() {
  static ManagerState& state = *new ManagerState;  // its window outlives the display
  return state;
}

bool ValidIndex(int index) { return index >= 0 && index < ThemeClassCount; }

bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
  auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char16_t x, char16_t y) { return upper(x) == upper(y); });
}

void NotifySubscribers() {
  // A subscriber may free itself or another one while it is told.
  const std::vector<TdxThemeChangedNotificator*> snapshot = State().subscribers;
  for (TdxThemeChangedNotificator* n : snapshot) {
    const auto& live = State().subscribers;
    if (std::find(live.begin(), live.end(), n) == live.end()) continue;
    if (n->OnThemeChanged) n->OnThemeChanged(n);
  }
}

}  // namespace

const char16_t* ThemeClassName(int Index) { return ValidIndex(Index) ? kClassNames[Index] : u""; }

bool ThemesActive() { return State().themesActive; }

bool AreThemesAvailable(unsigned Mask) {
  if (!State().themesActive || !VisualStyleLibraryPresent()) return false;
  for (int i = 0; i < ThemeClassCount; ++i)
    if ((Mask & ThemeClassMask(i)) && !OpenThemeByIndex(i)) return false;
  return true;
}

bool IsThemeClassAvailable(int Index) {
  return State().themesActive && VisualStyleLibraryPresent() && OpenThemeByIndex(Index) != nullptr;
}

HTHEME OpenThemeByIndex(int Index, const char16_t* ClassList) {
  if (!ValidIndex(Index) || !AreThemesAvailable(0)) return nullptr;
  ThemeEntry& entry = State().entries[Index];
  if (entry.handle) {
    if (!ClassList || SameTextIgnoringCase(ClassList, entry.classList)) return entry.handle;
    CloseThemeByIndex(Index);
  }
  std::u16string list = ClassList ? std::u16string(ClassList)
                        : !entry.classList.empty() ? entry.classList
                                                   : std::u16string(kClassNames[Index]);
  const auto& ux = UxThemeEntryPoints();
  HTHEME handle = ux.OpenThemeData ? ux.OpenThemeData(nullptr, list.c_str()) : nullptr;
  if (handle) {
    entry.handle = handle;
    entry.classList = std::move(list);
  } else {
    entry.classList.clear();
  }
  return handle;
}

HRESULT CloseThemeByIndex(int Index) {
  if (!ValidIndex(Index)) return 0;
  if (!AreThemesAvailable(0)) return 1;
  ThemeEntry& entry = State().entries[Index];
  if (!entry.handle) return 0;
  const auto& ux = UxThemeEntryPoints();
  const HRESULT result = ux.CloseThemeData ? ux.CloseThemeData(entry.handle) : E_FAIL;
  entry.handle = nullptr;
  entry.classList.clear();
  return result;
}

void CloseAllThemes() {
  const auto& ux = UxThemeEntryPoints();
  for (ThemeEntry& entry : State().entries) {
    if (entry.handle && ux.CloseThemeData) ux.CloseThemeData(entry.handle);
    entry.handle = nullptr;
  }
}

// ---------------------------------------------------------------------------

TdxThemeChangedNotificator::TdxThemeChangedNotificator() {
  if (State().subscribersOpen) State().subscribers.push_back(this);
}

TdxThemeChangedNotificator::~TdxThemeChangedNotificator() {
  auto& list = State().subscribers;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

TdxThemeChangedEventReceiver::TdxThemeChangedEventReceiver() {
  FWindowHandle = AllocateHWnd(TWndMethod(this, &TdxThemeChangedEventReceiver::WndProc));
}

TdxThemeChangedEventReceiver::~TdxThemeChangedEventReceiver() {
  State().themesActive = false;
  DeallocateHWnd(FWindowHandle);
}

void TdxThemeChangedEventReceiver::WndProc(TMessage& Message) {
  Message.Result = DefWindowProc(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
  if (Message.Msg != WM_THEMECHANGED) return;
  CloseAllThemes();
  State().themesActive = UxIsThemeActive();
  Message.Result = 0;
  try {
    NotifySubscribers();
  } catch (...) {
    Application->HandleException(this);
  }
}

HWND ThemeChangedReceiverWindow() { return State().receiver ? State().receiver->Handle() : nullptr; }

// ---------------------------------------------------------------------------

void InitializeThemeManager() {
  ManagerState& s = State();
  if (!VisualStyleLibraryPresent() || s.receiver) return;
  s.themesActive = UxIsThemeActive();
  s.receiver = std::make_unique<TdxThemeChangedEventReceiver>();
  s.subscribersOpen = true;
}

void FinalizeThemeManager() {
  ManagerState& s = State();
  if (!VisualStyleLibraryPresent()) return;
  s.receiver.reset();
  CloseAllThemes();
  s.themesActive = false;
  s.subscribersOpen = false;
  s.subscribers.clear();
}

void LoadVisualStyleLibrary(TdxUxThemeLookup Lookup) {
  ManagerState& s = State();
  // The subscribers of a test's library stay subscribed over the switch.
  std::vector<TdxThemeChangedNotificator*> keep = std::move(s.subscribers);
  FinalizeThemeManager();
  for (ThemeEntry& entry : s.entries) entry.classList.clear();
  BindVisualStyleLibrary(Lookup);
  InitializeThemeManager();
  if (s.subscribersOpen) s.subscribers = std::move(keep);
}
