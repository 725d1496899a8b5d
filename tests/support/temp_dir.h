#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace identstrip::testing {

// A fresh folder for one test, removed with everything in it afterwards; by
// default in the system's temporary folder.
class TempDir {
 public:
  explicit TempDir(const std::filesystem::path& parent = std::filesystem::temp_directory_path());
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
// Builds a path of exactly `length` characters below `base` through folders
// of its own, the last part a file name; creates the folders, not the file.
std::string PathOfLength(const std::filesystem::path& base, std::size_t length);
std::string ReadBytes(const std::filesystem::path& path);

}  // namespace identstrip::testing
