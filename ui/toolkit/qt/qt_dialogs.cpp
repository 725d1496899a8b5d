#include "ui/toolkit/qt/qt_dialogs.h"

// Placeholder until the dialogs are written: nothing is chosen, nothing shown.
namespace identstrip::ui::qt {

std::optional<std::string> RunOpenFileDialog(QWidget*, const OpenFileRequest&) {
  return std::nullopt;
}

void RunStopMessageBox(QWidget*, std::string_view, std::string_view) {}

}  // namespace identstrip::ui::qt
