#pragma once

#include <cstddef>
#include <span>

#include "conversion/file_system.h"

namespace identstrip::cli {

// The platform's system calls on a descriptor that the stream files are built
// on. Each returns SUCCESS or the system's error code.

// Reads some of `buffer` from `offset` on; `bytes_read` is 0 at the end of
// the file.
ResultCode ReadSomeFromDescriptor(int fd, FileOffset offset, std::span<char> buffer,
                                  std::size_t& bytes_read);

// Writes some of `bytes` where the descriptor stands; `bytes_put` is 0 when
// nothing more can be written.
ResultCode WriteSomeToDescriptor(int fd, std::span<const char> bytes, std::size_t& bytes_put);

ResultCode SizeOfDescriptor(int fd, FileOffset& size);

// A second descriptor of the same open file.
ResultCode DuplicateDescriptor(int fd, int& copy);

ResultCode CloseDescriptor(int fd);

}  // namespace identstrip::cli
