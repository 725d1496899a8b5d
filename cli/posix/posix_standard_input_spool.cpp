#include "cli/standard_input_spool.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "cli/stream_names.h"
#include "conversion/job_messages.h"
#include "conversion/posix/posix_file_system.h"

namespace identstrip::cli {
namespace {

constexpr std::size_t COPY_BUFFER_SIZE = 64 * 1024;

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

}  // namespace

StandardInputSpool::~StandardInputSpool() {
  if (fd_ >= 0) ::close(fd_);
}

ResultCode StandardInputSpool::CopyFrom(int source) {
  source_ = IdentityOfDescriptor(source);

  std::string name = TemporaryFolder() + "/identstrip-XXXXXX";
  std::vector<char> writable_name(name.begin(), name.end());
  writable_name.push_back('\0');
  const int fd = ::mkostemp(writable_name.data(), O_CLOEXEC);
  if (fd < 0) return Fail(MapErrno(errno, name, true), ACTION_OPENING, name);
  name = writable_name.data();
  ::unlink(name.c_str());
  fd_ = fd;

  std::array<char, COPY_BUFFER_SIZE> buffer;
  for (;;) {
    const ssize_t got = ::read(source, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return Fail(errno, ACTION_READING, std::string(STANDARD_INPUT_NAME));
    }
    if (got == 0) return SUCCESS;
    for (ssize_t put_total = 0; put_total < got;) {
      const ssize_t put =
          ::write(fd_, buffer.data() + put_total, static_cast<std::size_t>(got - put_total));
      if (put < 0 && errno == EINTR) continue;
      // A full disk is a refusal to take the bytes, as for the line files.
      if (put <= 0) return Fail(ERR_ACCESS_DENIED, ACTION_WRITING, name);
      put_total += put;
    }
  }
}

}  // namespace identstrip::cli
