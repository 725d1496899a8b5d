#include "app/display_check.h"

#include <cstdlib>

namespace identstrip::app {
namespace {
bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}
}  // namespace

bool DisplayAvailable() {
#if defined(__unix__) && !defined(__APPLE__)
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
#else
  return true;
#endif
}

}  // namespace identstrip::app
