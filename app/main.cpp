// The window program: the main window, run once until it is closed. It takes
// no command line and reads no configuration.
#include <cstdio>
#include <memory>

#include "app/display_check.h"
#include "conversion/file_system.h"
#include "ui/main_window.h"
#include "ui/standard_dialogs.h"
#include "ui/toolkit/qt/qt_toolkit.h"

int main() {
  using namespace identstrip;
  if (!app::DisplayAvailable()) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(app::NO_DISPLAY_TEXT.size()),
                 app::NO_DISPLAY_TEXT.data());
    return 1;
  }
  const auto toolkit = ui::qt::CreateQtToolkit();
  FileSystem& file_system = SystemFileSystem();
  const bool ran = ui::RunMainWindow(*toolkit, file_system, [&](ui::Window& window) {
    return std::make_unique<ui::StandardDialogs>(window, file_system);
  });
  if (!ran) {
    std::fputs("identstrip: the window could not be created\n", stderr);
    return 1;
  }
  return 0;
}
