#pragma once

#include <cstdint>
#include <string_view>

#include "conversion/file_system.h"

namespace identstrip {

// Files on Windows. Sharing comes from the system's share modes: Open lets
// others read only, Create allows no other opener, and the system refuses to
// delete a file while anybody holds it open. Devices (NUL, CON, COM1, ...),
// pipes and folders are refused, and so is a read-only file whatever the
// process's rights.
class Win32FileSystem final : public FileSystem {
 public:
  ResultCode OpenShared(std::string_view path, std::unique_ptr<File>& file) override;
  ResultCode CreateEmpty(std::string_view path) override;
  ResultCode Remove(std::string_view path) override;
  std::optional<std::string> FullPath(std::string_view path) const override;
  bool IsDirectory(std::string_view path) const override;
  std::string CurrentDirectory() const override;
  bool SetCurrentDirectory(std::string_view path) override;
  char Separator() const override { return '\\'; }
};

// The result code for a Windows error number.
ResultCode MapWindowsError(std::uint32_t error);

// Whether the last part of `path` names a device rather than a file: NUL,
// CON, PRN, AUX, COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$, with or without
// an extension, in any folder; or the path is in the device namespace "\\.\".
bool NamesDevice(std::string_view path);

}  // namespace identstrip
