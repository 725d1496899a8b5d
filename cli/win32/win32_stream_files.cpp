#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>

#include "cli/descriptor_io.h"
#include "cli/stream_files.h"

namespace identstrip::cli {
namespace {

unsigned ChunkOf(std::size_t bytes) {
  return static_cast<unsigned>(std::min<std::size_t>(bytes, std::numeric_limits<int>::max() / 2));
}

}  // namespace

// The spool's copy shares its file position with the spool's descriptor, so
// every read seeks first.
ResultCode ReadSomeFromDescriptor(int fd, FileOffset offset, std::span<char> buffer,
                                  std::size_t& bytes_read) {
  bytes_read = 0;
  if (_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0) return errno;
  const int got = _read(fd, buffer.data(), ChunkOf(buffer.size()));
  if (got < 0) return errno;
  bytes_read = static_cast<std::size_t>(got);
  return SUCCESS;
}

ResultCode WriteSomeToDescriptor(int fd, std::span<const char> bytes, std::size_t& bytes_put) {
  bytes_put = 0;
  const int put = _write(fd, bytes.data(), ChunkOf(bytes.size()));
  if (put < 0) return errno;
  bytes_put = static_cast<std::size_t>(put);
  return SUCCESS;
}

ResultCode SizeOfDescriptor(int fd, FileOffset& size) {
  const __int64 length = _filelengthi64(fd);
  if (length < 0) return errno;
  size = static_cast<FileOffset>(length);
  return SUCCESS;
}

ResultCode DuplicateDescriptor(int fd, int& copy) {
  copy = _dup(fd);
  if (copy < 0) return errno == EMFILE ? ERR_TOO_MANY_OPEN_FILES : errno;
  return SUCCESS;
}

ResultCode CloseDescriptor(int fd) {
  return _close(fd) == 0 ? SUCCESS : errno;
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
