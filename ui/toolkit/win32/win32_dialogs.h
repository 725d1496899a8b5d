#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "ui/standard_dialogs.h"
#include "ui/toolkit/toolkit.h"
#include "ui/toolkit/win32/win32_api.h"

// The system's open-file dialog and stop-icon message box, owned by a window.
namespace identstrip::ui::win32 {

// Every option the open-file dialog is shown with: an existing file in an
// existing folder, the current directory kept, explorer style without the
// read-only box, and files that others hold open can be chosen too.
inline constexpr DWORD OPEN_FILE_OPTIONS = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                                           OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_SHAREAWARE;

inline constexpr UINT STOP_MESSAGE_STYLE = MB_OK | MB_ICONSTOP | MB_DEFBUTTON1 | MB_APPLMODAL;

// What GetOpenFileNameA is given, with the texts and the name buffer it
// points into; `Fields` stays valid as long as the object.
class OpenFileDialogSetup {
 public:
  OpenFileDialogSetup(HWND owner, const OpenFileRequest& request);
  OpenFileDialogSetup(const OpenFileDialogSetup&) = delete;
  OpenFileDialogSetup& operator=(const OpenFileDialogSetup&) = delete;

  OPENFILENAMEA& Fields() { return fields_; }
  // The name in the buffer: the initial name, or the path the dialog returned.
  std::string Name() const { return name_.data(); }

 private:
  std::string filter_;  // "description\0pattern\0...\0"
  std::string title_;
  std::string folder_;
  std::array<char, NAME_BUFFER_SIZE> name_{};
  OPENFILENAMEA fields_{};
};

std::optional<std::string> RunOpenFileDialog(HWND owner, const OpenFileRequest& request);
void RunStopMessageBox(HWND owner, std::string_view text, std::string_view caption);

}  // namespace identstrip::ui::win32
