#include "tests/support/ThreadState.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

pid_t CurrentThreadId() { return gettid(); }

namespace {

// The state letter of /proc/self/task/<tid>/stat: after the name in
// parentheses (which may hold blanks and parentheses itself).
char StateOf(pid_t Tid) {
  std::ifstream stat("/proc/self/task/" + std::to_string(Tid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const auto close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() ? line[close + 2] : '?';
}

}  // namespace

bool WaitUntilAsleep(pid_t Tid) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < until) {
    if (StateOf(Tid) == 'S') return true;
    std::this_thread::yield();
  }
  return false;
}
