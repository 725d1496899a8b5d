#include "conversion/line_file.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "conversion/line_bytes.h"

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

  if (!buffer_) {
    // Out of memory is reported like running out of file handles: the
    // system has no room for another open file.
    buffer_.reset(new (std::nothrow) char[READ_BUFFER_SIZE]);
    if (!buffer_) return Report(ERR_TOO_MANY_OPEN_FILES);
  }
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

ResultCode LineFile::SkipNext() {
  if (!file_) return Report(ERR_FILE_NOT_OPEN);
  if (!positioned_) return Report(ERR_RECORD_NOT_AVAILABLE);
  const ResultCode code = SkipLine();
  if (code != SUCCESS) positioned_ = false;
  return Report(code);
}

// A line read by ReadLine ends at the first CR LF or byte 26 behind its start
// whether or not it fits the record, since the rest of a cut line is passed
// over up to the same place; only a byte 26 in first place ends the input.
ResultCode LineFile::SkipLine() {
  const FileOffset start = next_read_;
  if (start >= known_size_) return ERR_RECORD_NOT_AVAILABLE;
  if (dirty_ || start < buffer_offset_ || start >= buffer_offset_ + buffer_valid_) {
    if (const ResultCode code = FillBuffer(start); code != SUCCESS) return code;
  }
  if (buffer_[static_cast<std::size_t>(start - buffer_offset_)] == END_OF_FILE_MARK) {
    return ERR_RECORD_NOT_AVAILABLE;
  }
  return SkipRestOfLine(start);
}

ResultCode LineFile::ReadLine() {
  const FileOffset start = next_read_;
  if (start >= known_size_) return ERR_RECORD_NOT_AVAILABLE;

  // The longest storable line and its terminator must be in the buffer.
  const FileOffset wanted_end = std::min<FileOffset>(known_size_, start + LINE_CAPACITY + 2);
  if (dirty_ || start < buffer_offset_ || wanted_end > buffer_offset_ + buffer_valid_) {
    if (const ResultCode code = FillBuffer(start); code != SUCCESS) return code;
  }
  const char* const window = buffer_.get();
  std::size_t at = static_cast<std::size_t>(start - buffer_offset_);
  const std::size_t end = static_cast<std::size_t>(
      std::min(known_size_, buffer_offset_ + buffer_valid_) - buffer_offset_);

  char* const out = record_.BeginRewrite();
  if (at >= end || window[at] == END_OF_FILE_MARK) {
    record_.EndRewrite(0);
    return ERR_RECORD_NOT_AVAILABLE;
  }

  // Ordinary bytes are copied many at a time; only CR LF, 26 and tab are
  // judged one by one. The copy may store a little past them, so the bytes behind
  // the line may hold leftovers up to `dirty`: from there on the record
  // holds blanks.
  std::size_t dirty = record_.Extent();
  std::size_t stored = 0;
  bool line_ended = false;
  while (stored < LINE_CAPACITY) {
    // Every byte stores at least one character, so a run of ordinary bytes
    // never needs more than the room that is left.
    const std::size_t room = std::min(end - at, LINE_CAPACITY - stored);
    const std::size_t run = CopyOrdinary(window + at, out + stored, room, end - at);
    dirty = std::max(dirty, stored + std::min(room, run + COPY_OVERRUN));
    at += run;
    stored += run;
    if (run == room) {
      // The record is full, or the file ends here.
      line_ended = at == end;
      break;
    }
    const char c = window[at++];
    if (c == '\t') {
      // A run of tabs is expanded at once; only positions that may hold
      // leftovers need the blanks written.
      std::size_t next = std::min(LINE_CAPACITY, (stored / TAB_STOP + 1) * TAB_STOP);
      while (next < LINE_CAPACITY && at < end && window[at] == '\t') {
        ++at;
        next = std::min(LINE_CAPACITY, next + TAB_STOP);
      }
      if (stored < dirty) std::memset(out + stored, BLANK, std::min(next, dirty) - stored);
      stored = next;
    } else if (c == END_OF_FILE_MARK) {
      line_ended = true;
      break;
    } else if (at < end && window[at] == '\n') {
      ++at;
      line_ended = true;
      break;
    } else {
      out[stored++] = c;  // a CR without LF is text
    }
  }
  record_.EndRewrite(stored, std::max(dirty, stored));

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
    FileOffset window_end = std::min(known_size_, buffer_offset_ + buffer_valid_);
    if (at < buffer_offset_ || at >= window_end) {
      if (const ResultCode code = FillBuffer(at); code != SUCCESS) return code;
      window_end = std::min(known_size_, buffer_offset_ + buffer_valid_);
      if (at >= window_end) break;
    }
    const char* const begin = buffer_.get() + (at - buffer_offset_);
    const char* const stop = buffer_.get() + (window_end - buffer_offset_);
    const char* const found = FindLineEnd(begin, stop);
    at += static_cast<FileOffset>(found - begin);
    if (found == stop) continue;
    if (*found == END_OF_FILE_MARK) {
      ++at;
      break;
    }
    if (found + 1 == stop && window_end < known_size_) {
      // A CR in the window's last byte needs the byte after it to be judged.
      if (const ResultCode code = FillBuffer(at); code != SUCCESS) return code;
      continue;
    }
    if (found + 1 < stop && found[1] == '\n') {
      at += 2;
      break;
    }
    ++at;  // a CR without LF, or the file's last byte
  }
  next_read_ = at;
  return SUCCESS;
}

ResultCode LineFile::FillBuffer(FileOffset offset) {
  if (dirty_) {
    if (const ResultCode code = Flush(); code != SUCCESS) return code;
    dirty_ = false;
  }
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<FileOffset>(READ_BUFFER_SIZE, known_size_ - offset));
  std::size_t got = 0;
  const ResultCode code = file_->ReadAt(offset, std::span<char>(buffer_.get(), wanted), got);
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
  const std::string_view text = record_.Content();
  // Both pieces fit behind the buffered bytes: one copy each, no flush between.
  if (dirty_ && text.size() + LINE_TERMINATOR.size() <= FILE_BUFFER_SIZE - buffer_valid_) {
    char* const to = buffer_.get() + buffer_valid_;
    std::memcpy(to, text.data(), text.size());
    std::memcpy(to + text.size(), LINE_TERMINATOR.data(), LINE_TERMINATOR.size());
    buffer_valid_ += text.size() + LINE_TERMINATOR.size();
    known_size_ += text.size() + LINE_TERMINATOR.size();
    return Report(SUCCESS);
  }
  ResultCode code = Put(text);
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
  std::memcpy(buffer_.get() + buffer_valid_, piece.data(), piece.size());
  buffer_valid_ += piece.size();
  known_size_ += piece.size();
  return SUCCESS;
}

// Writes the buffered bytes. After a failure the known size is cut back to
// what really reached the file, so later lines never leave a gap behind.
ResultCode LineFile::Flush() {
  std::size_t written = 0;
  const ResultCode code =
      file_->WriteAt(buffer_offset_, std::span<const char>(buffer_.get(), buffer_valid_), written);
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
