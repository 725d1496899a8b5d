#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "conversion/result_codes.h"

namespace identstrip {

using FileOffset = std::uint64_t;

// An open file, held with writing denied to every other opener. Offsets and
// sizes are 64-bit, so files beyond 4 GiB do not wrap.
class File {
 public:
  virtual ~File() = default;

  // Reads up to buffer.size() bytes at `offset`. Fewer bytes come back only at
  // the end of the file.
  virtual ResultCode ReadAt(FileOffset offset, std::span<char> buffer, std::size_t& bytes_read) = 0;

  // Writes all of `bytes` at `offset`; on failure `bytes_written` tells how many
  // reached the file.
  virtual ResultCode WriteAt(FileOffset offset, std::span<const char> bytes,
                             std::size_t& bytes_written) = 0;

  virtual ResultCode Size(FileOffset& size) = 0;

  // Asks the system to put the file's contents on disk.
  virtual ResultCode Commit() = 0;

  // Releases the file; the destructor releases it too.
  virtual ResultCode Close() = 0;
};

// The operating system's files as the line files need them, with the sharing
// rules: a file opened here may be read by others but not written, created
// anew or removed while it is open, whether the other opener is this process
// or another one.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens an existing file for reading and writing; others may only read it.
  virtual ResultCode OpenShared(std::string_view path, std::unique_ptr<File>& file) = 0;

  // Creates the file, or empties an existing one, with exclusive access, and
  // releases it again.
  virtual ResultCode CreateEmpty(std::string_view path) = 0;

  virtual ResultCode Remove(std::string_view path) = 0;

  // The path made absolute against the current directory and normalised,
  // without touching the disk; nothing when it cannot be expanded.
  virtual std::optional<std::string> FullPath(std::string_view path) const = 0;

  virtual bool IsDirectory(std::string_view path) const = 0;
  virtual std::string CurrentDirectory() const = 0;
  virtual bool SetCurrentDirectory(std::string_view path) = 0;

  // The platform's path separator ('/' or '\\').
  virtual char Separator() const = 0;
};

// The file system of the machine the program runs on.
FileSystem& SystemFileSystem();

}  // namespace identstrip
