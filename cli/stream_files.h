#pragma once

#include <memory>

#include "conversion/file_system.h"

namespace identstrip::cli {

// The standard streams as files, and what the platform does with them.

// The spooled standard input behind `spool_fd`, read only, as a file of its
// own that may be closed without closing the spool.
ResultCode OpenSpoolCopy(int spool_fd, std::unique_ptr<File>& file);

// A stream written from its first byte on, in order. The descriptor belongs
// to the process and stays open.
std::unique_ptr<File> MakeStreamOutputFile(int fd);

// Whether a line file, in this process or another, holds the file behind `fd`
// open, so that writing to `fd` would change a file in use.
bool HeldByALineFile(int fd);

// The standard streams carry the bytes as they are, with no line-end or
// end-of-file translation, so that every platform writes the same bytes.
void UseBinaryStandardStreams();

}  // namespace identstrip::cli
