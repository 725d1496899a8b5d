#pragma once

#include <optional>
#include <string>

#include "cli/file_identity.h"
#include "conversion/result_codes.h"

namespace identstrip::cli {

// Standard input copied into a temporary file that leaves nothing behind
// whatever happens (on POSIX systems it is unlinked at once, on Windows the
// system deletes it when it is closed), because the line files read their
// input twice: once to count the lines, once to convert them. The copy goes
// through a fixed buffer, so memory stays constant.
class StandardInputSpool {
 public:
  StandardInputSpool() = default;
  StandardInputSpool(const StandardInputSpool&) = delete;
  StandardInputSpool& operator=(const StandardInputSpool&) = delete;
  ~StandardInputSpool();

  // Copies everything from `source` into a new temporary file in the system's
  // temporary folder ($TMPDIR or /tmp; on Windows that of GetTempPathA). On
  // failure FailureText() says what failed.
  ResultCode CopyFrom(int source);
  const std::string& FailureText() const { return failure_text_; }

  // The temporary file, open for reading and writing; -1 before CopyFrom.
  int Descriptor() const { return fd_; }

  // The regular file that standard input was read from, if it was one. That
  // file counts as held open by this conversion, like any input.
  const std::optional<FileIdentity>& Source() const { return source_; }

 private:
  ResultCode Fail(ResultCode code, std::string_view action, const std::string& path);

  int fd_ = -1;
  std::optional<FileIdentity> source_;
  std::string failure_text_;
};

}  // namespace identstrip::cli
