#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace identstrip::cli {

// Which regular file a descriptor or a path stands for, however it is spelled.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// Nothing for anything but an existing regular file.
std::optional<FileIdentity> IdentityOfDescriptor(int fd);
std::optional<FileIdentity> IdentityOfPath(const std::string& path);

}  // namespace identstrip::cli
