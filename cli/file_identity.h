#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace identstrip::cli {

// Which regular file a descriptor or a path stands for, however it is spelled:
// its device and inode, or on Windows its volume's serial number and its file
// index.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t file = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// Nothing for anything but an existing regular file.
std::optional<FileIdentity> IdentityOfDescriptor(int fd);
std::optional<FileIdentity> IdentityOfPath(const std::string& path);

}  // namespace identstrip::cli
