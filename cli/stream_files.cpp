#include "cli/stream_files.h"

#include <cerrno>
#include <utility>

#include "cli/descriptor_io.h"

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
      std::size_t got = 0;
      const ResultCode result =
          ReadSomeFromDescriptor(fd_, offset + bytes_read, buffer.subspan(bytes_read), got);
      if (result != SUCCESS) return result;
      if (got == 0) break;
      bytes_read += got;
    }
    return SUCCESS;
  }

  ResultCode WriteAt(FileOffset, std::span<const char>, std::size_t& bytes_written) override {
    bytes_written = 0;
    return ERR_ACCESS_DENIED;
  }

  ResultCode Size(FileOffset& size) override { return SizeOfDescriptor(fd_, size); }

  ResultCode Commit() override { return SUCCESS; }

  ResultCode Close() override {
    if (fd_ < 0) return SUCCESS;
    return CloseDescriptor(std::exchange(fd_, -1));
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
      std::size_t put = 0;
      const ResultCode result = WriteSomeToDescriptor(fd_, bytes.subspan(bytes_written), put);
      if (result != SUCCESS) return result;
      if (put == 0) return ENOSPC;
      bytes_written += put;
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
  int fd = -1;
  const ResultCode result = DuplicateDescriptor(spool_fd, fd);
  if (result != SUCCESS) return result;
  file = std::make_unique<SpoolFile>(fd);
  return SUCCESS;
}

std::unique_ptr<File> MakeStreamOutputFile(int fd) {
  return std::make_unique<StreamOutputFile>(fd);
}

}  // namespace identstrip::cli
