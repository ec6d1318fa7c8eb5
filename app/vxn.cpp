// Entry point of the radio programming program.
#include <cstdio>

int main() {
  std::puts("vxn: the program has no main window yet; only its libraries and tests are built.");
  return 0;
}
