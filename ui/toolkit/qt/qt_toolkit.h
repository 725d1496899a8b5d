#pragma once

#include <memory>

#include "ui/toolkit/toolkit.h"

namespace identstrip::ui::qt {

// The Qt Widgets toolkit. It owns the application object (made without a
// command line, since the program takes none) unless one exists already;
// create it once, before any window, and keep it longer than every window.
std::unique_ptr<Toolkit> CreateQtToolkit();

}  // namespace identstrip::ui::qt
