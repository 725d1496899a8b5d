#include <stdlib.h>

#include <stdexcept>
#include <string>

#include "tests/support/unique_folder.h"

namespace identstrip::testing {

std::filesystem::path MakeUniqueFolder(const std::filesystem::path& parent) {
  std::string pattern = (parent / "identstrip-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

}  // namespace identstrip::testing
