// The window program on Windows: the main window on the native toolkit, run
// once until it is closed. It takes no command line and reads no
// configuration.
#include <memory>

#include "conversion/file_system.h"
#include "ui/main_window.h"
#include "ui/standard_dialogs.h"
#include "ui/toolkit/win32/win32_toolkit.h"

int main() {
  using namespace identstrip;
  const auto toolkit = ui::win32::CreateWin32Toolkit();
  FileSystem& file_system = SystemFileSystem();
  const bool ran = ui::RunMainWindow(*toolkit, file_system, [&](ui::Window& window) {
    return std::make_unique<ui::StandardDialogs>(window, file_system);
  });
  if (!ran) {
    ui::win32::ReportStartFailure("The window could not be created.", "identstrip");
    return 1;
  }
  return 0;
}
