#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/toolkit/toolkit.h"

class QWidget;

namespace identstrip::ui::qt {

// The Qt forms of the window's two modal dialogs, owned by `owner`.
std::optional<std::string> RunOpenFileDialog(QWidget* owner, const OpenFileRequest& request);
void RunStopMessageBox(QWidget* owner, std::string_view text, std::string_view caption);

}  // namespace identstrip::ui::qt
