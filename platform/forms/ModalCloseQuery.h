// Asked of the focused control of a modal form, and of its parents, before
// the form closes with a result other than Cancel: a control that holds
// input it cannot accept reports it and answers nonzero, and the form stays
// open. The form asks while it is still shown, so the control can still
// take the focus and show what is wrong.
#pragma once

#include "platform/forms/Controls.h"

inline constexpr win::UINT CM_QUERYMODALCLOSE = CM_BASE + 90;
