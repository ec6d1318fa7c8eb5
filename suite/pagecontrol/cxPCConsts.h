// The message texts of the tab and page control. Each is shown only after
// it went through TranslateResourceString.
#pragma once

inline constexpr const char* scxPCTabIndexError = "Tab's index (%d) out of bounds";
inline constexpr const char* scxPCVisibleTabListEmpty = "There are no visible tabs";
inline constexpr const char* scxPCTabVisibleIndexOutsOfBounds = "TabVisibleIndex (%d) must be between 0 and %d";
inline constexpr const char* scxPCNoBaseImages = "BaseImages is not assigned";
inline constexpr const char* scxPCImageListIndexError = "Index (%d) must be between 0 and %d";
inline constexpr const char* scxPCNoRegisteredStyles = "There are no styles registered";
inline constexpr const char* scxPCPainterClassError = "PCPainterClass is nil";
inline constexpr const char* scxPCStyleNameError = "%s style does not support rotation of tabs";
inline constexpr const char* scxPCNoTabs = "Tabs.Count = 0";
