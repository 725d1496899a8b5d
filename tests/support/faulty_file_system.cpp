#include "tests/support/faulty_file_system.h"

#include <algorithm>

namespace identstrip::testing {

class FaultyFile final : public File {
 public:
  FaultyFile(std::unique_ptr<File> real, FileFaults faults, FaultyFileSystem& owner)
      : real_(std::move(real)), faults_(faults), owner_(owner) {
    ++owner_.open_files_;
  }
  ~FaultyFile() override { Release(); }

  ResultCode ReadAt(FileOffset offset, std::span<char> buffer, std::size_t& bytes_read) override {
    ++owner_.read_calls_;
    bytes_read = 0;
    if (offset + buffer.size() > faults_.read_limit) return faults_.read_error;
    return real_->ReadAt(offset, buffer, bytes_read);
  }

  ResultCode WriteAt(FileOffset offset, std::span<const char> bytes,
                     std::size_t& bytes_written) override {
    ++owner_.write_calls_;
    if (offset + bytes.size() <= faults_.write_limit) {
      return real_->WriteAt(offset, bytes, bytes_written);
    }
    const std::size_t fits =
        offset >= faults_.write_limit ? 0 : static_cast<std::size_t>(faults_.write_limit - offset);
    if (const ResultCode code = real_->WriteAt(offset, bytes.first(fits), bytes_written); code) {
      return code;
    }
    return faults_.write_error;
  }

  ResultCode Size(FileOffset& size) override {
    return faults_.size != SUCCESS ? faults_.size : real_->Size(size);
  }
  ResultCode Commit() override {
    return faults_.commit != SUCCESS ? faults_.commit : real_->Commit();
  }
  ResultCode Close() override {
    const ResultCode code = Release();
    return faults_.close != SUCCESS ? faults_.close : code;
  }

 private:
  ResultCode Release() {
    if (released_) return SUCCESS;
    released_ = true;
    --owner_.open_files_;
    return real_->Close();
  }

  std::unique_ptr<File> real_;
  FileFaults faults_;
  FaultyFileSystem& owner_;
  bool released_ = false;
};

FileFaults FaultyFileSystem::Faults(std::string_view path) const {
  const auto found = faults_.find(path);
  return found == faults_.end() ? FileFaults{} : found->second;
}

ResultCode FaultyFileSystem::OpenShared(std::string_view path, std::unique_ptr<File>& file) {
  const FileFaults faults = Faults(path);
  if (faults.open != SUCCESS) return faults.open;
  std::unique_ptr<File> real;
  if (const ResultCode code = real_.OpenShared(path, real); code != SUCCESS) return code;
  file = std::make_unique<FaultyFile>(std::move(real), faults, *this);
  return SUCCESS;
}

ResultCode FaultyFileSystem::CreateEmpty(std::string_view path) {
  const FileFaults faults = Faults(path);
  if (faults.create != SUCCESS) return faults.create;
  return real_.CreateEmpty(path);
}

ResultCode FaultyFileSystem::Remove(std::string_view path) {
  return real_.Remove(path);
}

}  // namespace identstrip::testing
