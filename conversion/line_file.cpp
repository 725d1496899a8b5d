#include "conversion/line_file.h"

#include <algorithm>
#include <cstring>

namespace identstrip {
namespace {

ResultCode Report(ResultCode code) {
  SetLastError(code);
  return code;
}

}  // namespace

LineFile::LineFile(FileSystem& file_system, const std::string& path)
    : file_system_(file_system), path_(path) {}

LineFile::~LineFile() {
  if (file_) CloseFile();
}

ResultCode LineFile::ResolvePath(std::string& name) const {
  // The path variable is terminated text: it ends at its first NUL, if any.
  name.assign(path_.c_str());
  if (name.empty()) return ERR_INVALID_FILENAME;
  const auto full = file_system_.FullPath(name);
  if (!full || full->size() > MAX_FULL_PATH) return ERR_INVALID_FILENAME;
  return SUCCESS;
}

ResultCode LineFile::Create() {
  if (file_) return Report(ERR_FILE_ALREADY_OPEN);
  std::string name;
  if (const ResultCode code = ResolvePath(name); code != SUCCESS) return Report(code);
  return Report(file_system_.CreateEmpty(name));
}

ResultCode LineFile::Open(OpenMode mode) {
  if (file_) return Report(ERR_FILE_ALREADY_OPEN);
  if (mode != MODE_READ_WRITE_DENY_WRITE) return Report(ERR_ACCESS_DENIED);
  std::string name;
  if (const ResultCode code = ResolvePath(name); code != SUCCESS) return Report(code);

  std::unique_ptr<File> file;
  if (const ResultCode code = file_system_.OpenShared(name, file); code != SUCCESS) {
    return Report(code);
  }
  FileOffset size = 0;
  if (const ResultCode code = file->Size(size); code != SUCCESS) {
    file->Close();
    return Report(code);
  }
  file_ = std::move(file);
  opened_path_ = std::move(name);
  known_size_ = size;
  buffer_offset_ = 0;
  buffer_valid_ = 0;
  dirty_ = false;
  write_access_ = true;
  positioned_ = false;
  next_read_ = 0;
  return Report(SUCCESS);
}

ResultCode LineFile::Rewind() {
  if (!file_) return Report(ERR_FILE_NOT_OPEN);
  next_read_ = 0;
  positioned_ = true;
  return Report(SUCCESS);
}

ResultCode LineFile::ReadNext() {
  if (!file_) return Report(ERR_FILE_NOT_OPEN);
  if (!positioned_) return Report(ERR_RECORD_NOT_AVAILABLE);
  const ResultCode code = ReadLine();
  if (code != SUCCESS) positioned_ = false;
  return Report(code);
}

ResultCode LineFile::ReadLine() {
  const FileOffset start = next_read_;
  if (start >= known_size_) return ERR_RECORD_NOT_AVAILABLE;

  // The longest storable line and its terminator must be in the buffer.
  const FileOffset wanted_end = std::min<FileOffset>(known_size_, start + LINE_CAPACITY + 2);
  if (dirty_ || start < buffer_offset_ || wanted_end > buffer_offset_ + buffer_valid_) {
    if (const ResultCode code = FillBuffer(start); code != SUCCESS) return code;
  }
  const char* const window = buffer_.data();
  std::size_t at = static_cast<std::size_t>(start - buffer_offset_);
  const std::size_t end = static_cast<std::size_t>(
      std::min(known_size_, buffer_offset_ + buffer_valid_) - buffer_offset_);

  char* const out = record_.BeginRewrite();
  if (at >= end || window[at] == END_OF_FILE_MARK) {
    record_.EndRewrite(0);
    return ERR_RECORD_NOT_AVAILABLE;
  }

  std::size_t stored = 0;
  bool line_ended = false;
  while (stored < LINE_CAPACITY) {
    if (at == end) {
      line_ended = true;
      break;
    }
    const char c = window[at];
    if (c == '\r' && at + 1 < end && window[at + 1] == '\n') {
      at += 2;
      line_ended = true;
      break;
    }
    if (c == END_OF_FILE_MARK) {
      ++at;
      line_ended = true;
      break;
    }
    ++at;
    if (c == '\t') {
      const std::size_t blanks = std::min(TAB_STOP - stored % TAB_STOP, LINE_CAPACITY - stored);
      std::memset(out + stored, BLANK, blanks);
      stored += blanks;
    } else {
      out[stored++] = c;
    }
  }
  record_.EndRewrite(stored);

  next_read_ = buffer_offset_ + at;
  if (line_ended) return SUCCESS;
  return SkipRestOfLine(next_read_);
}

// The record is full: the rest of the line up to and including its CR LF or
// byte 26, or up to the end of the file, is passed over. The window is
// searched with memchr rather than byte by byte: a line may run for
// gigabytes, and both passes over the input skip it.
ResultCode LineFile::SkipRestOfLine(FileOffset at) {
  while (at < known_size_) {
    if (at < buffer_offset_ || at >= buffer_offset_ + buffer_valid_) {
      if (const ResultCode code = FillBuffer(at); code != SUCCESS) return code;
      continue;
    }
    const char* const window = buffer_.data();
    const std::size_t first = static_cast<std::size_t>(at - buffer_offset_);
    const std::size_t end = static_cast<std::size_t>(
        std::min(known_size_, buffer_offset_ + buffer_valid_) - buffer_offset_);
    const auto* mark =
        static_cast<const char*>(std::memchr(window + first, END_OF_FILE_MARK, end - first));
    const std::size_t stop = mark ? static_cast<std::size_t>(mark - window) : end;
    const auto* cr = static_cast<const char*>(std::memchr(window + first, '\r', stop - first));
    if (cr == nullptr) {
      if (mark == nullptr) {
        at = buffer_offset_ + end;
        continue;
      }
      next_read_ = buffer_offset_ + stop + 1;
      return SUCCESS;
    }
    const std::size_t i = static_cast<std::size_t>(cr - window);
    if (i + 1 < end) {
      at = buffer_offset_ + i + 1;
      if (window[i + 1] != '\n') continue;
      next_read_ = at + 1;
      return SUCCESS;
    }
    // A CR in the window's last byte needs the byte after it to be judged:
    // at the end of the file there is none, otherwise refill from the CR.
    if (buffer_offset_ + end >= known_size_) break;
    at = buffer_offset_ + i;
    if (const ResultCode code = FillBuffer(at); code != SUCCESS) return code;
  }
  next_read_ = known_size_;
  return SUCCESS;
}

ResultCode LineFile::FillBuffer(FileOffset offset) {
  if (dirty_) {
    if (const ResultCode code = Flush(); code != SUCCESS) return code;
    dirty_ = false;
  }
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<FileOffset>(FILE_BUFFER_SIZE, known_size_ - offset));
  std::size_t got = 0;
  const ResultCode code = file_->ReadAt(offset, std::span<char>(buffer_.data(), wanted), got);
  buffer_offset_ = offset;
  buffer_valid_ = code == SUCCESS && got == wanted ? got : 0;
  if (code != SUCCESS) return code;
  // Fewer bytes than the size taken at Open: a program that ignores the
  // sharing rules has cut the file short. Reading on would end the input in
  // the middle of a line and the lines after it would be silently missing.
  if (got < wanted) return ERR_ACCESS_DENIED;
  return SUCCESS;
}

ResultCode LineFile::Append() {
  if (!file_) return Report(ERR_FILE_NOT_OPEN);
  if (!write_access_) return Report(ERR_ACCESS_DENIED);
  ResultCode code = Put(record_.Content());
  if (code == SUCCESS) code = Put(LINE_TERMINATOR);
  return Report(code);
}

ResultCode LineFile::Put(std::string_view piece) {
  if (!dirty_) {
    // Writing starts behind the known size; read-ahead bytes are dropped.
    buffer_offset_ = known_size_;
    buffer_valid_ = 0;
    dirty_ = true;
  }
  if (piece.size() > FILE_BUFFER_SIZE - buffer_valid_) {
    if (const ResultCode code = Flush(); code != SUCCESS) return code;
  }
  std::memcpy(buffer_.data() + buffer_valid_, piece.data(), piece.size());
  buffer_valid_ += piece.size();
  known_size_ += piece.size();
  return SUCCESS;
}

// Writes the buffered bytes. After a failure the known size is cut back to
// what really reached the file, so later lines never leave a gap behind.
ResultCode LineFile::Flush() {
  std::size_t written = 0;
  const ResultCode code =
      file_->WriteAt(buffer_offset_, std::span<const char>(buffer_.data(), buffer_valid_), written);
  if (code != SUCCESS) {
    known_size_ = buffer_offset_ + written;
  }
  buffer_offset_ = known_size_;
  buffer_valid_ = 0;
  return code == SUCCESS ? SUCCESS : ERR_ACCESS_DENIED;
}

ResultCode LineFile::Close() {
  if (!file_) return Report(ERR_FILE_NOT_OPEN);
  return Report(CloseFile());
}

// Buffered bytes are written and committed before the file is released; the
// first failure is the result, reported as a refusal to take the bytes.
ResultCode LineFile::CloseFile() {
  ResultCode code = SUCCESS;
  if (dirty_) code = Flush();
  if (write_access_ && file_->Commit() != SUCCESS && code == SUCCESS) code = ERR_ACCESS_DENIED;
  if (file_->Close() != SUCCESS && code == SUCCESS) code = ERR_ACCESS_DENIED;
  file_.reset();
  write_access_ = false;
  positioned_ = false;
  dirty_ = false;
  buffer_valid_ = 0;
  return code;
}

ResultCode LineFile::Remove() {
  if (file_) return Report(ERR_FILE_ALREADY_OPEN);
  std::string name;
  if (const ResultCode code = ResolvePath(name); code != SUCCESS) return Report(code);
  return Report(file_system_.Remove(name));
}

}  // namespace identstrip
