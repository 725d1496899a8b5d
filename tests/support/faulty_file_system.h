#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string>

#include "conversion/file_system.h"

namespace identstrip::testing {

// What goes wrong with one file. Offsets are byte offsets in the file.
struct FileFaults {
  ResultCode create = SUCCESS;  // CreateEmpty fails with this, touching nothing
  ResultCode open = SUCCESS;    // OpenShared fails with this
  // A write that reaches past `write_limit` puts the bytes before the limit
  // and then fails with `write_error` (a disk that fills up).
  FileOffset write_limit = std::numeric_limits<FileOffset>::max();
  ResultCode write_error = 28;  // ENOSPC
  // A read that reaches past `read_limit` fails with `read_error`.
  FileOffset read_limit = std::numeric_limits<FileOffset>::max();
  ResultCode read_error = 5;  // EIO
  ResultCode commit = SUCCESS;
  ResultCode size = SUCCESS;   // Size fails with this
  ResultCode close = SUCCESS;  // Close releases the file and then reports this
};

// Real files, with failures injected for the paths a test names.
class FaultyFileSystem final : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& real) : real_(real) {}

  FileFaults& FaultsFor(const std::string& path) { return faults_[path]; }
  int ReadCalls() const { return read_calls_; }
  int WriteCalls() const { return write_calls_; }
  // Files opened through this file system and not yet closed.
  int OpenFiles() const { return open_files_; }

  ResultCode OpenShared(std::string_view path, std::unique_ptr<File>& file) override;
  ResultCode CreateEmpty(std::string_view path) override;
  ResultCode Remove(std::string_view path) override;
  std::optional<std::string> FullPath(std::string_view path) const override {
    return real_.FullPath(path);
  }
  bool IsDirectory(std::string_view path) const override { return real_.IsDirectory(path); }
  std::string CurrentDirectory() const override { return real_.CurrentDirectory(); }
  bool SetCurrentDirectory(std::string_view path) override {
    return real_.SetCurrentDirectory(path);
  }
  char Separator() const override { return real_.Separator(); }

 private:
  friend class FaultyFile;
  FileFaults Faults(std::string_view path) const;

  FileSystem& real_;
  std::map<std::string, FileFaults, std::less<>> faults_;
  int read_calls_ = 0;
  int write_calls_ = 0;
  int open_files_ = 0;
};

}  // namespace identstrip::testing
