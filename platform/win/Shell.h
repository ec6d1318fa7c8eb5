// The shell's "open": documents and web or mail links handed to the desktop
// (xdg-open). Nothing else is started: no other verbs, no programs, no
// command lines.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win/WinUser.h"

namespace win {

constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_PNF = 3;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_OOM = 8;
constexpr int SE_ERR_NOASSOC = 31;

// Gives a value above 32 on success, else one of SE_ERR_*: operation must be
// null or "open"; file an existing file or folder (relative to directory
// when given) or an http:, https: or mailto: link. parameters must be empty:
// they would be a program's command line.
HINSTANCE ShellExecute(HWND hwnd, const char* operation, const char* file, const char* parameters,
                       const char* directory, int showCmd);

// Starts a program from argv without a shell and without waiting; tests
// replace it to see what would be started. Null puts the real one back.
using ShellLauncher = std::function<bool(const std::vector<std::string>& argv)>;
void SetShellLauncher(ShellLauncher launcher);

}  // namespace win
