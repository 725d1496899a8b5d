#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "cli/descriptor_io.h"
#include "cli/stream_files.h"

namespace identstrip::cli {

ResultCode ReadSomeFromDescriptor(int fd, FileOffset offset, std::span<char> buffer,
                                  std::size_t& bytes_read) {
  bytes_read = 0;
  ssize_t got;
  do {
    got = ::pread(fd, buffer.data(), buffer.size(), static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  if (got < 0) return errno;
  bytes_read = static_cast<std::size_t>(got);
  return SUCCESS;
}

ResultCode WriteSomeToDescriptor(int fd, std::span<const char> bytes, std::size_t& bytes_put) {
  bytes_put = 0;
  ssize_t put;
  do {
    put = ::write(fd, bytes.data(), bytes.size());
  } while (put < 0 && errno == EINTR);
  if (put < 0) return errno;
  bytes_put = static_cast<std::size_t>(put);
  return SUCCESS;
}

ResultCode SizeOfDescriptor(int fd, FileOffset& size) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return errno;
  size = static_cast<FileOffset>(info.st_size);
  return SUCCESS;
}

ResultCode DuplicateDescriptor(int fd, int& copy) {
  copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (copy < 0) return errno == EMFILE || errno == ENFILE ? ERR_TOO_MANY_OPEN_FILES : errno;
  return SUCCESS;
}

ResultCode CloseDescriptor(int fd) {
  return ::close(fd) == 0 ? SUCCESS : errno;
}

// The line files lock what they hold open; a lock that would conflict with
// writing shows that one of them does.
bool HeldByALineFile(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

void UseBinaryStandardStreams() {}

}  // namespace identstrip::cli
