// The pictures Windows keeps among its own resources, drawn here in the
// classic look: LoadBitmap with no instance and an OBM_* number.
//
// OBM_CHECKBOXES is 4 x 3 cells of 13 x 13 pixels on the button face:
//   row 0  check box: unchecked, checked, pushed unchecked, pushed checked
//   row 1  radio button (12 x 12 at the cell's top left), same four states
//   row 2  check box: disabled unchecked, disabled checked, three-state,
//          three-state pushed
#pragma once

#include "platform/win/WinTypes.h"

namespace win {

constexpr int CHECKBOX_CELL = 13;

// A new bitmap the caller deletes; null for names not known.
HBITMAP LoadBitmap(HINSTANCE instance, const char* name);

}  // namespace win
