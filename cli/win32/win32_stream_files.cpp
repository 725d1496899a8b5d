#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <utility>

#include "cli/stream_files.h"

namespace identstrip::cli {
namespace {

unsigned ChunkOf(std::size_t bytes) {
  return static_cast<unsigned>(std::min<std::size_t>(bytes, std::numeric_limits<int>::max() / 2));
}

// The spooled standard input: read only, never committed. Its descriptor is a
// duplicate of the spool's and shares its file position, so every read seeks
// first.
class SpoolFile final : public File {
 public:
  explicit SpoolFile(int fd) : fd_(fd) {}
  ~SpoolFile() override { Close(); }

  ResultCode ReadAt(FileOffset offset, std::span<char> buffer, std::size_t& bytes_read) override {
    bytes_read = 0;
    if (_lseeki64(fd_, static_cast<__int64>(offset), SEEK_SET) < 0) return errno;
    while (bytes_read < buffer.size()) {
      const int got = _read(fd_, buffer.data() + bytes_read, ChunkOf(buffer.size() - bytes_read));
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
    const __int64 length = _filelengthi64(fd_);
    if (length < 0) return errno;
    size = static_cast<FileOffset>(length);
    return SUCCESS;
  }

  ResultCode Commit() override { return SUCCESS; }

  ResultCode Close() override {
    if (fd_ < 0) return SUCCESS;
    return _close(std::exchange(fd_, -1)) == 0 ? SUCCESS : errno;
  }

 private:
  int fd_;
};

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
      const int put =
          _write(fd_, bytes.data() + bytes_written, ChunkOf(bytes.size() - bytes_written));
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
  const int fd = _dup(spool_fd);
  if (fd < 0) return errno == EMFILE ? ERR_TOO_MANY_OPEN_FILES : errno;
  file = std::make_unique<SpoolFile>(fd);
  return SUCCESS;
}

std::unique_ptr<File> MakeStreamOutputFile(int fd) {
  return std::make_unique<StreamOutputFile>(fd);
}

// A line file holds its file with writing denied to everybody else, so the
// redirection of standard output into it has already been refused by the
// system, before this program started.
bool HeldByALineFile(int) {
  return false;
}

void UseBinaryStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace identstrip::cli
