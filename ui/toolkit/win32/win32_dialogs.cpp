#include "ui/toolkit/win32/win32_dialogs.h"

#include <algorithm>

namespace identstrip::ui::win32 {

OpenFileDialogSetup::OpenFileDialogSetup(HWND owner, const OpenFileRequest& request)
    : title_(request.title), folder_(request.initial_folder) {
  for (const FileTypeEntry& type : request.types) {
    filter_ += type.description;
    filter_ += '\0';
    filter_ += type.pattern;
    filter_ += '\0';
  }
  // The list ends with an empty description: the string's own terminator.
  const std::size_t kept = std::min(request.initial_name.size(), name_.size() - 1);
  std::copy_n(request.initial_name.begin(), kept, name_.begin());

  fields_.lStructSize = sizeof(fields_);
  fields_.hwndOwner = owner;
  fields_.lpstrFilter = filter_.empty() ? nullptr : filter_.c_str();
  fields_.nFilterIndex = 1;
  fields_.lpstrFile = name_.data();
  fields_.nMaxFile = static_cast<DWORD>(name_.size());
  fields_.lpstrInitialDir = folder_.empty() ? nullptr : folder_.c_str();
  fields_.lpstrTitle = title_.c_str();
  fields_.Flags = OPEN_FILE_OPTIONS;
  fields_.lpstrDefExt = nullptr;
}

std::optional<std::string> RunOpenFileDialog(HWND owner, const OpenFileRequest& request) {
  OpenFileDialogSetup setup(owner, request);
  // False for a cancel and for a dialog that failed, a buffer too small among
  // its failures: both leave the target as it was.
  if (!GetOpenFileNameA(&setup.Fields())) return std::nullopt;
  return setup.Name();
}

void RunStopMessageBox(HWND owner, std::string_view text, std::string_view caption) {
  const std::string shown_text(text);
  const std::string shown_caption(caption);
  MessageBoxA(owner, shown_text.c_str(), shown_caption.c_str(), STOP_MESSAGE_STYLE);
}

}  // namespace identstrip::ui::win32
