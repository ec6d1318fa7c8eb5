// The default editor settings of the data storage's value types: Boolean
// values show in a check box, currency and decimal values in a currency
// editor, dates and time stamps in a date editor, the rest in a text editor.
#pragma once

#include <vector>

#include "suite/editors/cxEditRegisteredRepositoryItems.h"

const std::vector<TcxValueTypeDefaultItem>& ValueTypeDefaultItems();

// Fills the global value-type registry with items of the default repository
// made of the item classes registered by name.
void RegisterDataEditRepositoryItems();
