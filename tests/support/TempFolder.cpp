#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

TempFolder::TempFolder(const std::string& Tag) {
  std::string pattern = (std::filesystem::temp_directory_path() / ("vxn-" + Tag + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder for " + Tag);
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::Write(const std::string& Name, const std::string& Contents) const {
  std::string path = *this / Name;
  std::ofstream(path, std::ios::binary) << Contents;
  return path;
}
