#include "platform/win/Shell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <thread>

#include "platform/rtl/SystemCalls.h"

namespace win {

namespace {

bool SpawnDetached(const std::vector<std::string>& argv) {
  pid_t pid = 0;
  if (sys::Spawn(argv, pid).Failed()) return false;
  // Somebody has to collect the child, or it stays a zombie.
  std::thread([pid] {
    int status = 0;
    sys::WaitChild(pid, status);
  }).detach();
  return true;
}

std::mutex launcherLock;
ShellLauncher& Launcher() {
  static ShellLauncher launcher;
  return launcher;
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
  size_t n = std::strlen(prefix);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
  return true;
}

bool IsLink(const std::string& s) {
  return StartsWithNoCase(s, "http://") || StartsWithNoCase(s, "https://") || StartsWithNoCase(s, "mailto:");
}

// Links go to xdg-open as they stand, so they may not carry control
// characters (a line break would become a second argument to some handlers).
bool CleanLink(const std::string& s) {
  for (unsigned char c : s)
    if (c < 0x20 || c == 0x7F) return false;
  return s.size() > 7;
}

HINSTANCE Result(int code) { return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(code)); }

}  // namespace

HINSTANCE ShellExecute(HWND, const char* operation, const char* file, const char* parameters,
                       const char* directory, int) {
  if (operation && *operation && std::strcmp(operation, "open") != 0) return Result(SE_ERR_NOASSOC);
  if (!file || !*file) return Result(SE_ERR_FNF);
  if (parameters && *parameters) return Result(SE_ERR_NOASSOC);
  std::string target = file;
  if (!IsLink(target)) {
    if (target.find(':') != std::string::npos && target.find('/') > target.find(':'))
      return Result(SE_ERR_NOASSOC);  // another scheme
    if (target[0] != '/') {
      std::string base;
      if (directory && *directory) {
        base = directory;
      } else {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd)) return Result(SE_ERR_PNF);
        base = cwd;
      }
      target = base + "/" + target;  // also keeps a leading '-' from reading as an option
    }
    struct stat st;
    if (sys::CallResult found = sys::PathStatus(target, st); found.Failed())
      return Result(found.Error == EACCES ? SE_ERR_ACCESSDENIED : SE_ERR_FNF);
  } else if (!CleanLink(target)) {
    return Result(SE_ERR_FNF);
  }
  ShellLauncher launcher;
  {
    std::lock_guard<std::mutex> g(launcherLock);
    launcher = Launcher();
  }
  std::vector<std::string> argv{"xdg-open", target};
  bool started = launcher ? launcher(argv) : SpawnDetached(argv);
  return Result(started ? 42 : SE_ERR_NOASSOC);
}

void SetShellLauncher(ShellLauncher launcher) {
  std::lock_guard<std::mutex> g(launcherLock);
  Launcher() = std::move(launcher);
}

}  // namespace win
