#include <stdexcept>
#include <string>

#include "conversion/win32/windows_api.h"
#include "tests/support/unique_folder.h"

namespace identstrip::testing {

// CreateDirectoryA fails on a name that exists, so the first name it accepts
// belongs to this test alone; the process id keeps parallel tests apart.
std::filesystem::path MakeUniqueFolder(const std::filesystem::path& parent) {
  static unsigned counter = 0;
  const std::string stem = "identstrip-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(GetTickCount()) + "-";
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string folder = (parent / (stem + std::to_string(++counter))).string();
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  throw std::runtime_error("cannot create a folder in " + parent.string());
}

}  // namespace identstrip::testing
