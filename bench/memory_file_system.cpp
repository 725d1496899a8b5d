#include "bench/memory_file_system.h"

#include <algorithm>
#include <cstring>

namespace identstrip::bench {

class MemoryFile final : public File {
 public:
  MemoryFile(const std::string& bytes, std::uint64_t& bytes_written)
      : bytes_(bytes), bytes_written_(bytes_written) {}

  ResultCode ReadAt(FileOffset offset, std::span<char> buffer, std::size_t& bytes_read) override {
    bytes_read = 0;
    if (offset >= bytes_.size()) return SUCCESS;
    bytes_read = std::min<std::size_t>(buffer.size(), bytes_.size() - offset);
    std::memcpy(buffer.data(), bytes_.data() + offset, bytes_read);
    return SUCCESS;
  }
  ResultCode WriteAt(FileOffset, std::span<const char> bytes, std::size_t& bytes_written) override {
    bytes_written = bytes.size();
    bytes_written_ += bytes.size();
    return SUCCESS;
  }
  ResultCode Size(FileOffset& size) override {
    size = bytes_.size();
    return SUCCESS;
  }
  ResultCode Commit() override { return SUCCESS; }
  ResultCode Close() override { return SUCCESS; }

 private:
  const std::string& bytes_;
  std::uint64_t& bytes_written_;
};

void MemoryFileSystem::Add(const std::string& path, std::string bytes) {
  files_[path] = std::move(bytes);
}

ResultCode MemoryFileSystem::OpenShared(std::string_view path, std::unique_ptr<File>& file) {
  const auto found = files_.find(path);
  if (found == files_.end()) return ERR_FILE_NOT_FOUND;
  file = std::make_unique<MemoryFile>(found->second, bytes_written_);
  return SUCCESS;
}

ResultCode MemoryFileSystem::CreateEmpty(std::string_view path) {
  files_[std::string(path)].clear();
  return SUCCESS;
}

ResultCode MemoryFileSystem::Remove(std::string_view path) {
  const auto found = files_.find(path);
  if (found == files_.end()) return ERR_FILE_NOT_FOUND;
  files_.erase(found);
  return SUCCESS;
}

}  // namespace identstrip::bench
