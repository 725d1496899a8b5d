#pragma once

#include <string_view>

namespace identstrip::app {

// What the program says instead of opening its window where there is no
// screen to open it on.
inline constexpr std::string_view NO_DISPLAY_TEXT =
    "identstrip: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is "
    "set); convert files with identstrip-cli, or see the window with make screenshot";

// False only where an X11 or Wayland desktop would be needed and none is
// named, and no Qt platform has been chosen: starting Qt then would end in a
// platform-plugin abort.
bool DisplayAvailable();

}  // namespace identstrip::app
