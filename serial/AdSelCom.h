// The port probe behind the port selection dialog: which of COM1 to COM50
// exist on this machine. (The dialog form itself waits for the forms
// library's combo box.)
#pragma once

#include <string>
#include <vector>

#include "System.h"

inline constexpr Integer HighestSelectablePort = 50;

// Opens the port for a moment; a port that another program holds, or that
// the user may not open, exists too.
bool PortExists(Integer Number);
// "COM1".."COM50" of the ports that exist, in order.
std::vector<std::string> ListPresentPorts();
// The number of a list entry: its text from the fourth character on.
Integer PortNumberOfEntry(const std::string& Entry);
