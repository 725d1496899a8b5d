#include "tests/ui/temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace identstrip::ui::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "identstrip-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::MakeFolder(const std::string& relative) const {
  const std::string full = path_ + "/" + relative;
  std::filesystem::create_directories(full);
  return full;
}

std::string TempFolder::MakeFile(const std::string& relative) const {
  const std::string full = path_ + "/" + relative;
  std::filesystem::create_directories(std::filesystem::path(full).parent_path());
  std::ofstream(full) << "text\r\n";
  return full;
}

}  // namespace identstrip::ui::testing
