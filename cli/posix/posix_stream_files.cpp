#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "cli/stream_files.h"

namespace identstrip::cli {
namespace {

// The spooled standard input: read only, never committed.
class SpoolFile final : public File {
 public:
  explicit SpoolFile(int fd) : fd_(fd) {}
  ~SpoolFile() override { Close(); }

  ResultCode ReadAt(FileOffset offset, std::span<char> buffer, std::size_t& bytes_read) override {
    bytes_read = 0;
    while (bytes_read < buffer.size()) {
      const ssize_t got = ::pread(fd_, buffer.data() + bytes_read, buffer.size() - bytes_read,
                                  static_cast<off_t>(offset + bytes_read));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return errno;
      if (got == 0) break;
      bytes_read += static_cast<std::size_t>(got);
    }
    return SUCCESS;
  }

  ResultCode WriteAt(FileOffset, std::span<const char>, std::size_t& bytes_written) override {
    bytes_written = 0;
    return ERR_ACCESS_DENIED;
  }

  ResultCode Size(FileOffset& size) override {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return errno;
    size = static_cast<FileOffset>(info.st_size);
    return SUCCESS;
  }

  ResultCode Commit() override { return SUCCESS; }

  ResultCode Close() override {
    if (fd_ < 0) return SUCCESS;
    return ::close(std::exchange(fd_, -1)) == 0 ? SUCCESS : errno;
  }

 private:
  int fd_;
};

// A stream written from its first byte on, in order. The descriptor belongs to
// the process and stays open.
class StreamOutputFile final : public File {
 public:
  explicit StreamOutputFile(int fd) : fd_(fd) {}

  ResultCode ReadAt(FileOffset, std::span<char>, std::size_t& bytes_read) override {
    bytes_read = 0;
    return ERR_ACCESS_DENIED;
  }

  ResultCode WriteAt(FileOffset offset, std::span<const char> bytes,
                     std::size_t& bytes_written) override {
    bytes_written = 0;
    // A stream cannot go back: every write must continue where the last ended.
    if (offset != written_) return ESPIPE;
    while (bytes_written < bytes.size()) {
      const ssize_t put = ::write(fd_, bytes.data() + bytes_written, bytes.size() - bytes_written);
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) return errno;
      if (put == 0) return ENOSPC;
      bytes_written += static_cast<std::size_t>(put);
      written_ += static_cast<FileOffset>(put);
    }
    return SUCCESS;
  }

  ResultCode Size(FileOffset& size) override {
    size = 0;
    return SUCCESS;
  }

  ResultCode Commit() override { return SUCCESS; }
  ResultCode Close() override { return SUCCESS; }

 private:
  int fd_;
  FileOffset written_ = 0;
};

}  // namespace

ResultCode OpenSpoolCopy(int spool_fd, std::unique_ptr<File>& file) {
  const int fd = ::fcntl(spool_fd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return errno == EMFILE || errno == ENFILE ? ERR_TOO_MANY_OPEN_FILES : errno;
  file = std::make_unique<SpoolFile>(fd);
  return SUCCESS;
}

std::unique_ptr<File> MakeStreamOutputFile(int fd) {
  return std::make_unique<StreamOutputFile>(fd);
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
