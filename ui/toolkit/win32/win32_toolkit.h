#pragma once

#include <memory>
#include <string_view>

#include "ui/toolkit/toolkit.h"

namespace identstrip::ui::win32 {

// The native Win32 toolkit: windows made of the system's own controls. Create
// it once, before any window.
std::unique_ptr<Toolkit> CreateWin32Toolkit();

// Tells the user, in a message box of its own, why the program cannot go on
// (a GUI program has no console to write to).
void ReportStartFailure(std::string_view text, std::string_view caption);

}  // namespace identstrip::ui::win32
