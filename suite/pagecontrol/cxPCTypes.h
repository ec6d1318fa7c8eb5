// The small types shared by the tabs, the layout, the painters and the tab
// control: sides, navigator buttons, options, the tabs-area answer of a
// painter, row bounds and the kinds of change a tab reports.
#pragma once

#include <vector>

#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"
#include "platform/rtl/TypInfo.h"

// Also the side codes of the painters: 0 top, 1 bottom, 2 left, 3 right.
VXN_ENUM(TcxTabPosition, tpTop, tpBottom, tpLeft, tpRight)

VXN_ENUM(TcxPCNavigatorButton, nbTopLeft, nbBottomRight, nbGoDialog, nbClose)
using TcxPCNavigatorButtons = TSet<TcxPCNavigatorButton>;

VXN_ENUM(TcxPCNavigatorPosition, npLeftTop, npLeftBottom, npRightTop, npRightBottom)

VXN_ENUM(TcxPCOption, pcoCloseButton, pcoGoDialog, pcoGradient, pcoGradientClientArea, pcoNoArrows, pcoSort,
         pcoTopToBottomText)
using TcxPCOptions = TSet<TcxPCOption>;
inline constexpr TcxPCOptions cxPCDefaultOptions{pcoGradient, pcoGradientClientArea};

VXN_ENUM(TcxTabSlantKind, skCutCorner, skSlant)
VXN_ENUM(TcxTabSlantPosition, spLeft, spRight)
using TcxTabSlantPositions = TSet<TcxTabSlantPosition>;

// 0 follows the look-and-feel; a painter class without an ID answers -1.
using TcxPCStyleID = Integer;
inline constexpr TcxPCStyleID cxPCDefaultStyle = 0;

// States of a navigator button.
enum : Integer {
  nbsNormal = 0,
  nbsPressed = 1,
  nbsHot = 2,
  nbsDisabled = 3,
};

// What changed in a tab; every kind but layout repaints the tab only.
enum TabChangeKind : Integer {
  tckContent = 0,
  tckEnabled = 1,
  tckFocus = 2,
  tckHighlight = 3,
  tckHot = 4,
  tckMainTab = 5,
  tckLayout = 6,
  tckPressed = 7,
  tckSelected = 8,
  tckFocusMark = 9,
};

// Two integers that a painter answers together: before and after along the
// caption, a tab gap and a row gap, and the like.
struct IntegerPair {
  Integer First = 0;
  Integer Second = 0;
  friend constexpr bool operator==(const IntegerPair&, const IntegerPair&) = default;
};

// A painter's answer about where tab rows may go.
struct TabsAreaInfo {
  TRect Bounds;                   // room for the rows
  Integer LeadingBandExtra = 0;   // added to the end of the leading band
  Integer TrailingBandExtra = 0;  // added to the start of the trailing band
  Integer BandGap = 0;            // smallest distance between the two bands
  Integer RowLength = 0;          // room along a row; below 1 means none
  TRect RowRect;                  // where rows start and end, along and across
  friend constexpr bool operator==(const TabsAreaInfo&, const TabsAreaInfo&) = default;
};

// First and last visible index of one row.
struct TcxPCLineIndexBounds {
  Integer First = -1;
  Integer Last = -1;
};
using TcxPCLineIndexBoundsArray = std::vector<TcxPCLineIndexBounds>;
