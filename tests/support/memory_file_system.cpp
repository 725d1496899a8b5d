#include "tests/support/memory_file_system.h"

#include <algorithm>
#include <cstring>

namespace identstrip::testing {

class MemoryFile final : public File {
 public:
  MemoryFile(MemoryFileSystem& owner, MemoryFileSystem::Entry& entry)
      : owner_(owner), entry_(&entry) {
    entry_->open = true;
    ++owner_.open_files_;
  }
  ~MemoryFile() override { Close(); }

  ResultCode ReadAt(FileOffset offset, std::span<char> buffer, std::size_t& bytes_read) override {
    const std::string& bytes = entry_->bytes;
    bytes_read =
        offset >= bytes.size() ? 0 : std::min<std::size_t>(buffer.size(), bytes.size() - offset);
    if (bytes_read > 0) std::memcpy(buffer.data(), bytes.data() + offset, bytes_read);
    return SUCCESS;
  }

  ResultCode WriteAt(FileOffset offset, std::span<const char> bytes,
                     std::size_t& bytes_written) override {
    std::string& file = entry_->bytes;
    if (file.size() < offset + bytes.size()) file.resize(offset + bytes.size(), '\0');
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
    bytes_written = bytes.size();
    return SUCCESS;
  }

  ResultCode Size(FileOffset& size) override {
    size = entry_->bytes.size();
    return SUCCESS;
  }
  ResultCode Commit() override { return SUCCESS; }
  ResultCode Close() override {
    if (entry_ == nullptr) return SUCCESS;
    entry_->open = false;
    entry_ = nullptr;
    --owner_.open_files_;
    return SUCCESS;
  }

 private:
  MemoryFileSystem& owner_;
  MemoryFileSystem::Entry* entry_;
};

void MemoryFileSystem::Put(const std::string& path, std::string bytes) {
  files_[path].bytes = std::move(bytes);
}

const std::string& MemoryFileSystem::Contents(const std::string& path) const {
  static const std::string none;
  const auto found = files_.find(path);
  return found == files_.end() ? none : found->second.bytes;
}

ResultCode MemoryFileSystem::OpenShared(std::string_view path, std::unique_ptr<File>& file) {
  const auto found = files_.find(path);
  if (found == files_.end()) return ERR_FILE_NOT_FOUND;
  if (found->second.open) return ERR_ACCESS_DENIED;
  file = std::make_unique<MemoryFile>(*this, found->second);
  return SUCCESS;
}

ResultCode MemoryFileSystem::CreateEmpty(std::string_view path) {
  Entry& entry = files_[std::string(path)];
  if (entry.open) return ERR_ACCESS_DENIED;
  entry.bytes.clear();
  return SUCCESS;
}

ResultCode MemoryFileSystem::Remove(std::string_view path) {
  const auto found = files_.find(path);
  if (found == files_.end()) return ERR_FILE_NOT_FOUND;
  if (found->second.open) return ERR_ACCESS_DENIED;
  files_.erase(found);
  return SUCCESS;
}

std::optional<std::string> MemoryFileSystem::FullPath(std::string_view path) const {
  if (path.empty()) return std::nullopt;
  if (path.front() == '/') return std::string(path);
  return "/" + std::string(path);
}

}  // namespace identstrip::testing
