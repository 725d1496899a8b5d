#include "conversion/win32/win32_file_system.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "conversion/win32/windows_api.h"

namespace identstrip {
namespace {

// Longer than any path Windows accepts, so that GetFullPathNameA never has to
// be asked twice.
constexpr DWORD FULL_PATH_BUFFER = 32768;

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

// Text in the ANSI code page, which every name in the program is in, and back.
std::optional<std::wstring> Widened(std::string_view text) {
  if (text.empty()) return std::wstring();
  const int length =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::optional<std::string> Narrowed(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length,
                      nullptr, nullptr);
  return narrow;
}

// The path as the system functions take it. Up to MAX_PATH - 1 characters
// the ANSI functions take it as it is; a longer full path (the line files
// allow 260 characters, one more than the ANSI functions) goes to the wide
// functions behind the "\\?\" prefix, which turns off the length limit along
// with the system's own normalisation, so it must be made full first.
struct SystemPath {
  std::string ansi;
  std::wstring wide;  // used when not empty
};

std::optional<SystemPath> SystemPathOf(const std::string& path) {
  const auto full = SystemFileSystem().FullPath(path);
  if (!full) return std::nullopt;
  if (full->size() < MAX_PATH) return SystemPath{path, {}};
  const bool unc = full->size() > 2 && IsSeparator((*full)[0]) && IsSeparator((*full)[1]);
  const std::string prefixed = unc ? "\\\\?\\UNC\\" + full->substr(2) : "\\\\?\\" + *full;
  auto wide = Widened(prefixed);
  if (!wide) return std::nullopt;
  return SystemPath{path, std::move(*wide)};
}

HANDLE CreateFileAt(const SystemPath& path, DWORD access, DWORD share, DWORD disposition) {
  if (!path.wide.empty()) {
    return CreateFileW(path.wide.c_str(), access, share, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  return CreateFileA(path.ansi.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

DWORD AttributesAt(const SystemPath& path) {
  return path.wide.empty() ? GetFileAttributesA(path.ansi.c_str())
                           : GetFileAttributesW(path.wide.c_str());
}

BOOL DeleteFileAt(const SystemPath& path) {
  return path.wide.empty() ? DeleteFileA(path.ansi.c_str()) : DeleteFileW(path.wide.c_str());
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Reset(); }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  bool Reset() { return !valid() || CloseHandle(Release()) != 0; }

 private:
  HANDLE handle_;
};

// Only a file on a disk counts; folders come through CreateFileA only with
// backup semantics, but a read-only file does come through where the process
// may ignore the attribute (Wine run by root), so it is checked here.
ResultCode CheckOpenedFile(HANDLE handle) {
  if (GetFileType(handle) != FILE_TYPE_DISK) return ERR_ACCESS_DENIED;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return MapWindowsError(GetLastError());
  if ((info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
    return ERR_ACCESS_DENIED;
  }
  return SUCCESS;
}

// What stands at `path` before it is emptied or deleted: a folder or a
// read-only file must be left as it is.
ResultCode CheckMayBeReplaced(const SystemPath& path, bool must_exist) {
  const DWORD attributes = AttributesAt(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (!must_exist && error == ERROR_FILE_NOT_FOUND) return SUCCESS;
    return MapWindowsError(error);
  }
  if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
    return ERR_ACCESS_DENIED;
  }
  return SUCCESS;
}

// Positions of a synchronous read or write: the handle's own file pointer is
// never used, so reads and writes at any offset need no seek.
OVERLAPPED At(FileOffset offset) {
  OVERLAPPED position{};
  position.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  position.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return position;
}

DWORD ChunkOf(std::size_t bytes) {
  return static_cast<DWORD>(std::min<std::size_t>(bytes, std::numeric_limits<DWORD>::max()));
}

class Win32File final : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { Close(); }

  ResultCode ReadAt(FileOffset offset, std::span<char> buffer, std::size_t& bytes_read) override {
    bytes_read = 0;
    while (bytes_read < buffer.size()) {
      OVERLAPPED position = At(offset + bytes_read);
      DWORD got = 0;
      if (!ReadFile(handle_.get(), buffer.data() + bytes_read, ChunkOf(buffer.size() - bytes_read),
                    &got, &position)) {
        const DWORD error = GetLastError();
        if (error == ERROR_HANDLE_EOF) break;
        return MapWindowsError(error);
      }
      if (got == 0) break;
      bytes_read += got;
    }
    return SUCCESS;
  }

  ResultCode WriteAt(FileOffset offset, std::span<const char> bytes,
                     std::size_t& bytes_written) override {
    bytes_written = 0;
    while (bytes_written < bytes.size()) {
      OVERLAPPED position = At(offset + bytes_written);
      DWORD put = 0;
      if (!WriteFile(handle_.get(), bytes.data() + bytes_written,
                     ChunkOf(bytes.size() - bytes_written), &put, &position)) {
        return MapWindowsError(GetLastError());
      }
      if (put == 0) return ERROR_DISK_FULL;
      bytes_written += put;
    }
    return SUCCESS;
  }

  ResultCode Size(FileOffset& size) override {
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(handle_.get(), &length)) return MapWindowsError(GetLastError());
    size = static_cast<FileOffset>(length.QuadPart);
    return SUCCESS;
  }

  ResultCode Commit() override {
    return FlushFileBuffers(handle_.get()) ? SUCCESS : MapWindowsError(GetLastError());
  }

  ResultCode Close() override {
    return handle_.Reset() ? SUCCESS : MapWindowsError(GetLastError());
  }

 private:
  Handle handle_;
};

}  // namespace

ResultCode MapWindowsError(std::uint32_t error) {
  switch (error) {
    case ERROR_SUCCESS:
      return SUCCESS;
    case ERROR_FILE_NOT_FOUND:
      return ERR_FILE_NOT_FOUND;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return ERR_PATH_NOT_FOUND;
    case ERROR_TOO_MANY_OPEN_FILES:
      return ERR_TOO_MANY_OPEN_FILES;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_DELETE_PENDING:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ERR_ACCESS_DENIED;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
      return ERR_INVALID_FILENAME;
    default:
      return static_cast<ResultCode>(error);
  }
}

bool NamesDevice(std::string_view path) {
  if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] == '.' &&
      IsSeparator(path[3])) {
    return true;
  }
  const auto last_separator = path.find_last_of("\\/:");
  std::string_view name =
      last_separator == std::string_view::npos ? path : path.substr(last_separator + 1);
  // Windows reads "NUL.txt" and "NUL  " as NUL too.
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  // "C:\folder\NUL:" names the device as well; its part behind ':' is empty.
  if (name.empty() && last_separator != std::string_view::npos && path[last_separator] == ':') {
    const std::string_view before = path.substr(0, last_separator);
    return before.size() > 2 && NamesDevice(before);
  }
  for (const std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (EqualsIgnoringCase(name, device)) return true;
  }
  if (name.size() == 4 && name[3] >= '1' && name[3] <= '9') {
    return EqualsIgnoringCase(name.substr(0, 3), "COM") ||
           EqualsIgnoringCase(name.substr(0, 3), "LPT");
  }
  return false;
}

ResultCode Win32FileSystem::OpenShared(std::string_view path, std::unique_ptr<File>& file) {
  const std::string name(path);
  if (NamesDevice(name)) return ERR_ACCESS_DENIED;
  const auto system_path = SystemPathOf(name);
  if (!system_path) return ERR_INVALID_FILENAME;
  Handle handle(
      CreateFileAt(*system_path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
  if (!handle.valid()) return MapWindowsError(GetLastError());
  if (const ResultCode code = CheckOpenedFile(handle.get()); code != SUCCESS) return code;
  file = std::make_unique<Win32File>(handle.Release());
  return SUCCESS;
}

ResultCode Win32FileSystem::CreateEmpty(std::string_view path) {
  const std::string name(path);
  if (NamesDevice(name)) return ERR_ACCESS_DENIED;
  const auto system_path = SystemPathOf(name);
  if (!system_path) return ERR_INVALID_FILENAME;
  // CREATE_ALWAYS empties the file the moment it opens it, so whatever must
  // not be emptied is refused before.
  if (const ResultCode code = CheckMayBeReplaced(*system_path, false); code != SUCCESS) {
    return code;
  }
  Handle handle(CreateFileAt(*system_path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS));
  if (!handle.valid()) return MapWindowsError(GetLastError());
  if (GetFileType(handle.get()) != FILE_TYPE_DISK) return ERR_ACCESS_DENIED;
  return handle.Reset() ? SUCCESS : MapWindowsError(GetLastError());
}

ResultCode Win32FileSystem::Remove(std::string_view path) {
  const std::string name(path);
  if (NamesDevice(name)) return ERR_ACCESS_DENIED;
  const auto system_path = SystemPathOf(name);
  if (!system_path) return ERR_INVALID_FILENAME;
  ResultCode code = CheckMayBeReplaced(*system_path, true);
  if (code == SUCCESS && !DeleteFileAt(*system_path)) code = MapWindowsError(GetLastError());
  switch (code) {
    case SUCCESS:
    case ERR_FILE_NOT_FOUND:
    case ERR_PATH_NOT_FOUND:
    case ERR_INVALID_FILENAME:
      return code;
    default:
      return ERR_ACCESS_DENIED;
  }
}

std::optional<std::string> Win32FileSystem::FullPath(std::string_view path) const {
  if (path.empty()) return std::nullopt;
  const std::string name(path);
  std::vector<char> buffer(FULL_PATH_BUFFER);
  const DWORD length = GetFullPathNameA(name.c_str(), FULL_PATH_BUFFER, buffer.data(), nullptr);
  if (length > 0 && length < FULL_PATH_BUFFER) return std::string(buffer.data(), length);
  // The ANSI function refuses a full path of MAX_PATH characters or more;
  // the wide one takes any, and the line files then judge its length.
  if (GetLastError() != ERROR_FILENAME_EXCED_RANGE) return std::nullopt;
  const auto wide_name = Widened(name);
  if (!wide_name) return std::nullopt;
  std::vector<wchar_t> wide_full(FULL_PATH_BUFFER);
  const DWORD wide_length =
      GetFullPathNameW(wide_name->c_str(), FULL_PATH_BUFFER, wide_full.data(), nullptr);
  if (wide_length == 0 || wide_length >= FULL_PATH_BUFFER) return std::nullopt;
  return Narrowed(std::wstring_view(wide_full.data(), wide_length));
}

bool Win32FileSystem::IsDirectory(std::string_view path) const {
  const DWORD attributes = GetFileAttributesA(std::string(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Win32FileSystem::CurrentDirectory() const {
  std::vector<char> buffer(FULL_PATH_BUFFER);
  const DWORD length = GetCurrentDirectoryA(FULL_PATH_BUFFER, buffer.data());
  if (length == 0 || length >= FULL_PATH_BUFFER) return {};
  return std::string(buffer.data(), length);
}

bool Win32FileSystem::SetCurrentDirectory(std::string_view path) {
  return SetCurrentDirectoryA(std::string(path).c_str()) != 0;
}

FileSystem& SystemFileSystem() {
  static Win32FileSystem file_system;
  return file_system;
}

}  // namespace identstrip
