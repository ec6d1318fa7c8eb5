// The data module's window-free work: the band table and the application's
// global objects, made before any window exists. The data module's creation
// handler calls CreateApplicationObjects once its tables are open.
#pragma once

#include <string>

// Adds the 14 bands to the band table, in the table's order.
void RegisterBands();

// Creates the model table, the settings object, the channel scratch object,
// the band table and the message texts (each once; they are never freed),
// then fills the tables and reads SysInfo.Ini and the current language's
// texts. appPath is the program folder with its trailing separator.
void CreateApplicationObjects(const std::string& appPath);
