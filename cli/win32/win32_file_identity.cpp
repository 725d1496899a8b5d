#include <io.h>

#include "cli/file_identity.h"
#include "conversion/win32/windows_api.h"

namespace identstrip::cli {
namespace {

std::optional<FileIdentity> IdentityOfHandle(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_DISK) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace

std::optional<FileIdentity> IdentityOfDescriptor(int fd) {
  return IdentityOfHandle(reinterpret_cast<HANDLE>(_get_osfhandle(fd)));
}

// Asking for no access at all finds the file even while others hold it open
// with any share mode.
std::optional<FileIdentity> IdentityOfPath(const std::string& path) {
  const HANDLE handle =
      CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  const auto identity = IdentityOfHandle(handle);
  CloseHandle(handle);
  return identity;
}

}  // namespace identstrip::cli
