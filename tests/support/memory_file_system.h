#pragma once

#include <map>
#include <memory>
#include <string>

#include "conversion/file_system.h"

namespace identstrip::testing {

// Files held in memory, for runs that must be fast and touch no disk (the
// fuzz targets). One flat folder "/"; a relative path lies in it. The sharing
// rule is kept: a file that is open may not be opened, emptied or removed.
class MemoryFileSystem final : public FileSystem {
 public:
  void Put(const std::string& path, std::string bytes);
  // The file's bytes; empty when there is no such file.
  const std::string& Contents(const std::string& path) const;
  bool Exists(const std::string& path) const { return files_.count(path) != 0; }
  int OpenFiles() const { return open_files_; }

  ResultCode OpenShared(std::string_view path, std::unique_ptr<File>& file) override;
  ResultCode CreateEmpty(std::string_view path) override;
  ResultCode Remove(std::string_view path) override;
  std::optional<std::string> FullPath(std::string_view path) const override;
  bool IsDirectory(std::string_view path) const override { return path == "/"; }
  std::string CurrentDirectory() const override { return "/"; }
  bool SetCurrentDirectory(std::string_view path) override { return path == "/"; }
  char Separator() const override { return '/'; }

 private:
  friend class MemoryFile;
  struct Entry {
    std::string bytes;
    bool open = false;
  };
  std::map<std::string, Entry, std::less<>> files_;
  int open_files_ = 0;
};

}  // namespace identstrip::testing
