// A folder of its own for one test (or one fuzz run): made empty under the
// system's temporary folder, removed with everything in it when it goes.
// Header only, so that fuzz targets can use it without the test library.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

class TempFolder {
 public:
  // Tag names what the folder is for; it shows in the folder's name.
  explicit TempFolder(const std::string& Tag = "test") {
    std::string pattern = (std::filesystem::temp_directory_path() / ("vxn-" + Tag + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder for " + Tag);
    path_ = pattern;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  // The folder, without a trailing slash.
  const std::string& Path() const { return path_; }
  // A name in the folder.
  std::string operator/(const std::string& Name) const { return path_ + "/" + Name; }
  // Writes a file in the folder; returns its path.
  std::string Write(const std::string& Name, const std::string& Contents) const {
    std::string path = *this / Name;
    std::ofstream(path, std::ios::binary) << Contents;
    return path;
  }

 private:
  std::string path_;
};
