// A folder of its own for one test (or one fuzz run): made empty under the
// system's temporary folder, removed with everything in it when it goes.
#pragma once

#include <string>

class TempFolder {
 public:
  // Tag names what the folder is for; it shows in the folder's name.
  explicit TempFolder(const std::string& Tag = "test");
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  // The folder, without a trailing slash.
  const std::string& Path() const { return path_; }
  // A name in the folder.
  std::string operator/(const std::string& Name) const { return path_ + "/" + Name; }
  // Writes a file in the folder; returns its path.
  std::string Write(const std::string& Name, const std::string& Contents) const;

 private:
  std::string path_;
};
