// Entry point of every test executable: pins the process locale so that a
// developer's LANG never changes a result, and points the leak checker at the
// suppressions for system libraries, then starts the folder libraries that
// the test executable links.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "platform/rtl/UnitsStartup.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

extern "C" const char* __asan_default_options() {
  return "detect_leaks=1:strict_string_checks=1";
}

int main(int argc, char** argv) {
  setenv("LC_ALL", "C.UTF-8", 1);
  setenv("LANG", "C.UTF-8", 1);
  std::setlocale(LC_ALL, "C.UTF-8");
  InitializeUnits();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
