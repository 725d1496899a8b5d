#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "conversion/file_system.h"
#include "conversion/line_record.h"
#include "conversion/result_codes.h"

namespace identstrip {

// Appended lines are written once this many bytes are waiting, so the file on
// disk lags the appended lines by no more than that until Close.
inline constexpr std::size_t FILE_BUFFER_SIZE = 2 * LINE_CAPACITY;
// Reading takes larger steps: the system is asked once per quarter megabyte,
// and only the part of a line that straddles the end is read twice.
inline constexpr std::size_t READ_BUFFER_SIZE = 256 * 1024;
static_assert(READ_BUFFER_SIZE >= FILE_BUFFER_SIZE);
inline constexpr std::string_view LINE_TERMINATOR = "\r\n";
inline constexpr std::size_t TAB_STOP = 8;
inline constexpr char END_OF_FILE_MARK = 26;
// The longest full path a line file accepts, in characters.
inline constexpr std::size_t MAX_FULL_PATH = 260;

enum OpenMode : std::uint8_t {
  // Read and write access (low four bits 2); other openers may read the file
  // but not write it (high four bits 2).
  MODE_READ_WRITE_DENY_WRITE = 0x22,
};

// A text file seen as a sequence of lines, each read into or written from the
// file's one LineRecord. Reading expands tabs, ends a line only at CR LF or at
// byte 26 and cuts lines longer than the record; writing drops the record's
// trailing blanks and ends every line with CR LF. Every operation returns its
// result code and leaves it in LastError().
class LineFile {
 public:
  // `path` is read when Create, Open or Remove runs; later changes to it do
  // not affect an open file.
  LineFile(FileSystem& file_system, const std::string& path);
  // The path is held by reference: a temporary would be gone before it is read.
  LineFile(FileSystem& file_system, std::string&& path) = delete;
  ~LineFile();
  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;

  ResultCode Create();
  ResultCode Open(OpenMode mode);
  ResultCode Rewind();
  ResultCode ReadNext();
  // Passes over the next line exactly as ReadNext would, with the same result,
  // but leaves the record as it was: counting lines needs no copy of them.
  ResultCode SkipNext();
  ResultCode Append();
  ResultCode Close();
  ResultCode Remove();

  LineRecord& Record() { return record_; }
  const LineRecord& Record() const { return record_; }
  bool IsOpen() const { return file_ != nullptr; }
  // The path as it was when the file was last opened.
  const std::string& OpenedPath() const { return opened_path_; }

 private:
  ResultCode ResolvePath(std::string& name) const;
  ResultCode ReadLine();
  ResultCode SkipLine();
  ResultCode SkipRestOfLine(FileOffset at);
  ResultCode FillBuffer(FileOffset offset);
  ResultCode Put(std::string_view piece);
  ResultCode Flush();
  ResultCode CloseFile();

  FileSystem& file_system_;
  const std::string& path_;
  std::unique_ptr<File> file_;
  std::string opened_path_;
  LineRecord record_;

  bool write_access_ = false;
  bool positioned_ = false;
  FileOffset next_read_ = 0;
  FileOffset known_size_ = 0;

  // Read-ahead and write-behind window of READ_BUFFER_SIZE bytes, allocated
  // at Open: buffer_[0, buffer_valid_) holds the file's bytes from
  // buffer_offset_ on; `dirty_` when they are not yet written.
  std::unique_ptr<char[]> buffer_;
  FileOffset buffer_offset_ = 0;
  std::size_t buffer_valid_ = 0;
  bool dirty_ = false;
};

}  // namespace identstrip
