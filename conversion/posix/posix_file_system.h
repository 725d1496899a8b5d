#pragma once

#include "conversion/file_system.h"

namespace identstrip {

// Files on Linux and other POSIX systems. Sharing is obtained with
// open-file-description locks, which hold between two descriptors of one
// process as well as between processes, and attach to the file itself (device
// and inode), however the path spells it.
class PosixFileSystem final : public FileSystem {
 public:
  ResultCode OpenShared(std::string_view path, std::unique_ptr<File>& file) override;
  ResultCode CreateEmpty(std::string_view path) override;
  ResultCode Remove(std::string_view path) override;
  std::optional<std::string> FullPath(std::string_view path) const override;
  bool IsDirectory(std::string_view path) const override;
  std::string CurrentDirectory() const override;
  bool SetCurrentDirectory(std::string_view path) override;
  char Separator() const override { return '/'; }
};

// The result code for a failed system call on `path`. ENOENT is told apart by
// whether the folder exists (2 for a missing file, 3 for a missing folder).
ResultCode MapErrno(int error, const std::string& path, bool creating = false);

}  // namespace identstrip
