#include "conversion/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <utility>
#include <vector>

namespace identstrip {
namespace {

// A file with no write permission bit counts as read-only for everybody,
// root included, as the read-only attribute does on other systems.
bool MayBeWritten(const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

std::string ParentOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Takes an open-file-description lock on the whole file. `exclusive` conflicts
// with every other lock; a shared lock conflicts only with an exclusive one.
// File systems without lock support are let through: there is nobody to
// share with that we could detect.
ResultCode Lock(int fd, bool exclusive) {
  struct flock lock {};
  lock.l_type = exclusive ? F_WRLCK : F_RDLCK;
  lock.l_whence = SEEK_SET;
  if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return SUCCESS;
  if (errno == EAGAIN || errno == EACCES) return ERR_ACCESS_DENIED;
  if (errno == EINVAL || errno == ENOLCK || errno == EOPNOTSUPP) return SUCCESS;
  return errno;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Reset(); }
  int get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  int Reset(int fd = -1) {
    const int result = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = fd;
    return result;
  }

 private:
  int fd_;
};

// Opens `path` for reading and writing without blocking on a FIFO or a device,
// and accepts only a regular file that may be written.
ResultCode OpenRegularForWriting(const std::string& path, int extra_flags, Descriptor& out) {
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | extra_flags, 0666);
  if (fd < 0) return MapErrno(errno, path, (extra_flags & O_CREAT) != 0);
  Descriptor descriptor(fd);
  struct stat info {};
  if (fstat(fd, &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return ERR_ACCESS_DENIED;
  if ((extra_flags & O_EXCL) == 0 && !MayBeWritten(info)) return ERR_ACCESS_DENIED;
  if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) return errno;
  out.Reset(descriptor.Release());
  return SUCCESS;
}

class PosixFile final : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { Close(); }

  ResultCode ReadAt(FileOffset offset, std::span<char> buffer, std::size_t& bytes_read) override {
    bytes_read = 0;
    while (bytes_read < buffer.size()) {
      const ssize_t got = ::pread(fd_, buffer.data() + bytes_read, buffer.size() - bytes_read,
                                  static_cast<off_t>(offset + bytes_read));
      if (got < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      if (got == 0) break;
      bytes_read += static_cast<std::size_t>(got);
    }
    return SUCCESS;
  }

  ResultCode WriteAt(FileOffset offset, std::span<const char> bytes,
                     std::size_t& bytes_written) override {
    bytes_written = 0;
    while (bytes_written < bytes.size()) {
      const ssize_t put = ::pwrite(fd_, bytes.data() + bytes_written, bytes.size() - bytes_written,
                                   static_cast<off_t>(offset + bytes_written));
      if (put < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      if (put == 0) return ENOSPC;
      bytes_written += static_cast<std::size_t>(put);
    }
    return SUCCESS;
  }

  ResultCode Size(FileOffset& size) override {
    struct stat info {};
    if (fstat(fd_, &info) != 0) return errno;
    size = static_cast<FileOffset>(info.st_size);
    return SUCCESS;
  }

  ResultCode Commit() override { return ::fsync(fd_) == 0 ? SUCCESS : errno; }

  ResultCode Close() override {
    if (fd_ < 0) return SUCCESS;
    // The descriptor is gone after close() whatever it returns; retrying is wrong.
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 ? SUCCESS : errno;
  }

 private:
  int fd_;
};

}  // namespace

ResultCode MapErrno(int error, const std::string& path, bool creating) {
  switch (error) {
    case ENOENT: {
      if (creating) return ERR_PATH_NOT_FOUND;
      struct stat info {};
      const std::string parent = ParentOf(path);
      if (::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return ERR_FILE_NOT_FOUND;
      return ERR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
    case ELOOP:
      return ERR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
    case EAGAIN:
      return ERR_ACCESS_DENIED;
    case ENAMETOOLONG:
    case EILSEQ:
      return ERR_INVALID_FILENAME;
    case EMFILE:
    case ENFILE:
      return ERR_TOO_MANY_OPEN_FILES;
    default:
      return error;
  }
}

ResultCode PosixFileSystem::OpenShared(std::string_view path, std::unique_ptr<File>& file) {
  const std::string name(path);
  Descriptor fd(-1);
  if (const ResultCode code = OpenRegularForWriting(name, 0, fd); code != SUCCESS) return code;
  if (const ResultCode code = Lock(fd.get(), true); code != SUCCESS) return code;
  file = std::make_unique<PosixFile>(fd.Release());
  return SUCCESS;
}

ResultCode PosixFileSystem::CreateEmpty(std::string_view path) {
  const std::string name(path);
  Descriptor fd(-1);
  ResultCode code = OpenRegularForWriting(name, O_CREAT | O_EXCL, fd);
  if (code == EEXIST) code = OpenRegularForWriting(name, 0, fd);
  if (code != SUCCESS) return code;
  // Emptying happens only under the exclusive lock, so a file that somebody
  // holds open is left exactly as it was.
  if (const ResultCode locked = Lock(fd.get(), true); locked != SUCCESS) return locked;
  if (::ftruncate(fd.get(), 0) != 0) return MapErrno(errno, name);
  return fd.Reset() == 0 ? SUCCESS : errno;
}

ResultCode PosixFileSystem::Remove(std::string_view path) {
  const std::string name(path);
  struct stat link_info {};
  if (::lstat(name.c_str(), &link_info) != 0) return MapErrno(errno, name);
  struct stat info {};
  const bool target_exists = ::stat(name.c_str(), &info) == 0;
  if (target_exists && S_ISDIR(info.st_mode)) return ERR_ACCESS_DENIED;
  if (target_exists && !MayBeWritten(info)) return ERR_ACCESS_DENIED;

  // A shared lock, held until the name is gone, fails while anybody holds the
  // file open through a line file.
  Descriptor fd(-1);
  if (target_exists && S_ISREG(info.st_mode)) {
    fd.Reset(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) return MapErrno(errno, name);
    if (const ResultCode code = Lock(fd.get(), false); code != SUCCESS) return code;
  }
  if (::unlink(name.c_str()) != 0) {
    const ResultCode code = MapErrno(errno, name);
    return code == ERR_FILE_NOT_FOUND || code == ERR_PATH_NOT_FOUND ? code : ERR_ACCESS_DENIED;
  }
  return SUCCESS;
}

std::optional<std::string> PosixFileSystem::FullPath(std::string_view path) const {
  if (path.empty()) return std::nullopt;
  std::string absolute;
  if (path.front() != '/') {
    absolute = CurrentDirectory();
    if (absolute.empty()) return std::nullopt;
    absolute += '/';
  }
  absolute += path;

  // Lexical normalisation: drop empty and "." parts, let ".." take one back.
  std::vector<std::string_view> parts;
  std::string_view rest(absolute);
  while (!rest.empty()) {
    const auto slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string full;
  for (const auto part : parts) {
    full += '/';
    full += part;
  }
  if (full.empty()) full.push_back('/');
  if (path.back() == '/' && full.back() != '/') full += '/';
  return full;
}

bool PosixFileSystem::IsDirectory(std::string_view path) const {
  struct stat info {};
  return ::stat(std::string(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string PosixFileSystem::CurrentDirectory() const {
  std::vector<char> buffer(PATH_MAX);
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return {};
  return buffer.data();
}

bool PosixFileSystem::SetCurrentDirectory(std::string_view path) {
  return ::chdir(std::string(path).c_str()) == 0;
}

FileSystem& SystemFileSystem() {
  static PosixFileSystem file_system;
  return file_system;
}

}  // namespace identstrip
