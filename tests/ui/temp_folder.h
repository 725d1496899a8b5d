#pragma once

#include <filesystem>
#include <string>

namespace identstrip::ui::testing {

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // Makes `relative` (and the folders on the way) below this folder; returns its full path.
  std::string MakeFolder(const std::string& relative) const;
  std::string MakeFile(const std::string& relative) const;

 private:
  std::string path_;
};

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
