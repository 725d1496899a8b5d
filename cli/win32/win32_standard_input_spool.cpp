#include <fcntl.h>
#include <io.h>

#include <array>
#include <cerrno>
#include <string>

#include "cli/standard_input_spool.h"
#include "cli/stream_names.h"
#include "conversion/job_messages.h"
#include "conversion/win32/win32_file_system.h"
#include "conversion/win32/windows_api.h"

namespace identstrip::cli {
namespace {

constexpr std::size_t COPY_BUFFER_SIZE = 64 * 1024;

}  // namespace

StandardInputSpool::~StandardInputSpool() {
  if (fd_ >= 0) _close(fd_);
}

ResultCode StandardInputSpool::CopyFrom(int source) {
  source_ = IdentityOfDescriptor(source);

  char folder[MAX_PATH + 1];
  const DWORD folder_length = GetTempPathA(sizeof folder, folder);
  if (folder_length == 0 || folder_length > MAX_PATH) {
    return Fail(MapWindowsError(GetLastError()), ACTION_OPENING, "%TEMP%");
  }
  // GetTempFileNameA makes a file of a name nobody else has; it is opened
  // again to be deleted by the system with its last handle.
  char name[MAX_PATH];
  if (GetTempFileNameA(folder, "ist", 0, name) == 0) {
    return Fail(MapWindowsError(GetLastError()), ACTION_OPENING, folder);
  }
  const HANDLE handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const ResultCode code = MapWindowsError(GetLastError());
    DeleteFileA(name);
    return Fail(code, ACTION_OPENING, name);
  }
  fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
  if (fd_ < 0) {
    CloseHandle(handle);
    return Fail(ERR_TOO_MANY_OPEN_FILES, ACTION_OPENING, name);
  }

  std::array<char, COPY_BUFFER_SIZE> buffer;
  for (;;) {
    const int got = _read(source, buffer.data(), static_cast<unsigned>(buffer.size()));
    if (got < 0) return Fail(errno, ACTION_READING, std::string(STANDARD_INPUT_NAME));
    if (got == 0) return SUCCESS;
    for (int put_total = 0; put_total < got;) {
      const int put =
          _write(fd_, buffer.data() + put_total, static_cast<unsigned>(got - put_total));
      // A full disk is a refusal to take the bytes, as for the line files.
      if (put <= 0) return Fail(ERR_ACCESS_DENIED, ACTION_WRITING, name);
      put_total += put;
    }
  }
}

}  // namespace identstrip::cli
