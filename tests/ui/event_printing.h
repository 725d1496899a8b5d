#pragma once

#include <ostream>

#include "ui/toolkit/toolkit.h"

namespace identstrip::ui {

// How GoogleTest shows the window's events in failure messages.
void PrintTo(EventKind kind, std::ostream* out);
void PrintTo(const Event& event, std::ostream* out);

}  // namespace identstrip::ui
