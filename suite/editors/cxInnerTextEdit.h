// The single-line edit window inside a text editor, seen from the editor's
// side.
#pragma once

#include "platform/rtl/System.h"

class TCustomEdit;

// The character index at the caret of an edit window, from the characters'
// x positions: the mask modes find the caret inside a selection with it.
Integer CaretCharIndex(TCustomEdit* Edit);
