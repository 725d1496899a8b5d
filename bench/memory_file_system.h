#pragma once

#include <map>
#include <memory>
#include <string>

#include "conversion/file_system.h"

namespace identstrip::bench {

// Files held in memory, so that a micro-benchmark times the line files and not
// the kernel. Reads come from the bytes given to Add; writes are counted and
// dropped, so that appending forever needs no memory.
class MemoryFileSystem final : public FileSystem {
 public:
  void Add(const std::string& path, std::string bytes);
  std::uint64_t BytesWritten() const { return bytes_written_; }

  ResultCode OpenShared(std::string_view path, std::unique_ptr<File>& file) override;
  ResultCode CreateEmpty(std::string_view path) override;
  ResultCode Remove(std::string_view path) override;
  std::optional<std::string> FullPath(std::string_view path) const override {
    return std::string(path);
  }
  bool IsDirectory(std::string_view) const override { return false; }
  std::string CurrentDirectory() const override { return "/"; }
  bool SetCurrentDirectory(std::string_view) override { return false; }
  char Separator() const override { return '/'; }

 private:
  friend class MemoryFile;
  std::map<std::string, std::string, std::less<>> files_;
  std::uint64_t bytes_written_ = 0;
};

}  // namespace identstrip::bench
