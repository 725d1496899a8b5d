#include "tests/support/temp_dir.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "tests/support/unique_folder.h"

namespace identstrip::testing {

TempDir::TempDir(const std::filesystem::path& parent) : path_(MakeUniqueFolder(parent)) {}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests take write permission away; give it back so that everything goes.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string PathOfLength(const std::filesystem::path& base, std::size_t length) {
  std::filesystem::create_directory(base);
  std::string path = base.string();
  while (path.size() + 1 + 100 < length) {
    path += "/" + std::string(99, 'd');
    std::filesystem::create_directory(path);
  }
  path += "/" + std::string(length - path.size() - 1, 'f');
  return path;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace identstrip::testing
