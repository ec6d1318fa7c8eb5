// The theme manager: one cached theme handle for each of the 24 theme
// classes, opened on first use and shared by every control; whether a class
// may be drawn with the visual style; and the notice to interested objects
// when the user switches the visual style or turns it off.
#pragma once

#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Delegates.h"
#include "suite/foundation/dxUxTheme.h"

struct TMessage;

// The theme classes by index; several at once by a mask in which bit i
// stands for class i.
inline constexpr int ThemeClassCount = 24;
inline constexpr int ThemeClassButton = 0;
inline constexpr int ThemeClassClock = 1;
inline constexpr int ThemeClassComboBox = 2;
inline constexpr int ThemeClassEdit = 3;
inline constexpr int ThemeClassExplorerBar = 4;
inline constexpr int ThemeClassHeader = 5;
inline constexpr int ThemeClassListView = 6;
inline constexpr int ThemeClassMenu = 7;
inline constexpr int ThemeClassPage = 8;
inline constexpr int ThemeClassProgress = 9;
inline constexpr int ThemeClassRebar = 10;
inline constexpr int ThemeClassScrollBar = 11;
inline constexpr int ThemeClassSpin = 12;
inline constexpr int ThemeClassStartPanel = 13;
inline constexpr int ThemeClassStatus = 14;
inline constexpr int ThemeClassTab = 15;
inline constexpr int ThemeClassTaskBand = 16;
inline constexpr int ThemeClassTaskBar = 17;
inline constexpr int ThemeClassToolBar = 18;
inline constexpr int ThemeClassToolTip = 19;
inline constexpr int ThemeClassTrackBar = 20;
inline constexpr int ThemeClassTrayNotify = 21;
inline constexpr int ThemeClassTreeView = 22;
inline constexpr int ThemeClassWindow = 23;

constexpr unsigned ThemeClassMask(int Index) { return 1u << Index; }

// The default class name of entry Index ("Button", ...).
const char16_t* ThemeClassName(int Index);

// Visual styles are on: taken at start and after every style change.
bool ThemesActive();

bool IsThemeClassAvailable(int Index);
// ThemesActive and the library loaded; with a non-zero mask every class
// whose bit is set must open as well.
bool AreThemesAvailable(unsigned Mask = 0);
// The cached handle of the class, opened on first use with the class list
// (null: the remembered one, else the default name). 0 when the class does
// not open, when themes are not available and for an index outside 0..23.
win::HTHEME OpenThemeByIndex(int Index, const char16_t* ClassList = nullptr);
// 1 when themes are not available, 0 when the class was not open (or the
// index lies outside 0..23), else what the library answers.
win::HRESULT CloseThemeByIndex(int Index);
// Closes every open handle; the remembered class lists stay.
void CloseAllThemes();

// Told after every change of the visual style, once the handles are closed.
class TdxThemeChangedNotificator : public TObject {
  VXN_DECLARE_CLASS(TdxThemeChangedNotificator)

 public:
  TdxThemeChangedNotificator();
  ~TdxThemeChangedNotificator() override;

  TNotifyEvent OnThemeChanged;
};

// Owns the hidden window that hears WM_THEMECHANGED; one exists while the
// library is loaded.
class TdxThemeChangedEventReceiver : public TObject {
  VXN_DECLARE_CLASS(TdxThemeChangedEventReceiver)

 public:
  TdxThemeChangedEventReceiver();
  ~TdxThemeChangedEventReceiver() override;

  win::HWND Handle() const { return FWindowHandle; }

 private:
  void WndProc(TMessage& Message);
  win::HWND FWindowHandle = nullptr;
};

// The receiver's window; null without the library.
win::HWND ThemeChangedReceiverWindow();

// Module start and end. The folder's start-up calls InitializeThemeManager
// after InitializeUxTheme.
void InitializeThemeManager();
void FinalizeThemeManager();
// Ends the theme manager, binds another visual-style library (null: none,
// SystemUxThemeLookup: the system's) and starts the manager again. Tests
// use it to run with a recording library or without one.
void LoadVisualStyleLibrary(TdxUxThemeLookup Lookup);
