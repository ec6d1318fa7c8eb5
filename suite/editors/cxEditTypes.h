// The enumerations that editor buttons, editor borders and editor painting
// share.
#pragma once

#include "platform/rtl/TypInfo.h"

VXN_ENUM(TcxEditButtonStyle, btsDefault, bts3D, btsFlat, btsSimple, btsHotFlat, btsUltraFlat, btsOffice11)
VXN_ENUM(TcxEditButtonKind, bkEllipsis, bkDown, bkGlyph, bkText)
VXN_ENUM(TcxEditBorderStyle, ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsUltraFlat, ebsOffice11)

// The state of an editor button.
using TcxEditButtonState = Integer;
inline constexpr TcxEditButtonState ebbsDisabled = 0;
inline constexpr TcxEditButtonState ebbsNormal = 1;
inline constexpr TcxEditButtonState ebbsPressed = 2;
inline constexpr TcxEditButtonState ebbsHot = 3;
