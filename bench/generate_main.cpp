// Writes a generated export: identstrip_bench_generate txd|txa|worst SIZE FILE
// SIZE is a byte count with an optional K, M or G (powers of 1000).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "bench/export_generator.h"

namespace {

std::optional<std::uint64_t> ParseSize(std::string_view text) {
  std::uint64_t scale = 1;
  if (!text.empty()) {
    switch (text.back()) {
      case 'K':
        scale = 1000;
        break;
      case 'M':
        scale = 1000 * 1000;
        break;
      case 'G':
        scale = 1000 * 1000 * 1000;
        break;
    }
    if (scale != 1) text.remove_suffix(1);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value * scale;
}

}  // namespace

int main(int argc, char** argv) {
  using identstrip::bench::ParseExportKind;
  const auto kind = argc == 4 ? ParseExportKind(argv[1]) : std::nullopt;
  const auto size = argc == 4 ? ParseSize(argv[2]) : std::nullopt;
  if (!kind || !size) {
    std::fprintf(stderr, "usage: %s txd|txa|worst SIZE[K|M|G] FILE\n", argv[0]);
    return 2;
  }
  const int fd = ::open(argv[3], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::fprintf(stderr, "%s: %s\n", argv[3], std::strerror(errno));
    return 1;
  }
  bool failed = false;
  identstrip::bench::GenerateExport(*kind, *size, [&](std::string_view piece) {
    while (!failed && !piece.empty()) {
      const ssize_t put = ::write(fd, piece.data(), piece.size());
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0)
        failed = true;
      else
        piece.remove_prefix(static_cast<std::size_t>(put));
    }
  });
  // On disk before anything is timed on it, so no later commit pays for it.
  if (failed || ::fsync(fd) != 0 || ::close(fd) != 0) {
    std::fprintf(stderr, "%s: %s\n", argv[3], std::strerror(errno));
    return 1;
  }
  return 0;
}
