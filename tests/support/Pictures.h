// Pictures that tests draw for a person to look at go under the build
// folder (pictures/), never into the source tree.
#pragma once

#include <filesystem>
#include <string>

inline std::string PicturePath(const std::string& Name) {
  std::filesystem::create_directories(VXN_PICTURE_DIR);
  return std::string(VXN_PICTURE_DIR) + "/" + Name;
}
