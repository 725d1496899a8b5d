#pragma once

#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"

namespace identstrip::ui::testing {

// Makes `relative` and the folders on the way below `dir`; returns its full path.
inline std::string MakeFolder(const identstrip::testing::TempDir& dir,
                              const std::string& relative) {
  const std::filesystem::path full = dir.Path() / relative;
  std::filesystem::create_directories(full);
  return full.string();
}

inline std::string MakeFile(const identstrip::testing::TempDir& dir, const std::string& relative) {
  const std::filesystem::path full = dir.Path() / relative;
  std::filesystem::create_directories(full.parent_path());
  identstrip::testing::WriteBytes(full.string(), "text\r\n");
  return full.string();
}

// Restores the process's current directory when the test ends.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(std::filesystem::current_path()) {}
  ~CurrentDirectoryGuard() { std::filesystem::current_path(saved_); }
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

 private:
  std::filesystem::path saved_;
};

}  // namespace identstrip::ui::testing
