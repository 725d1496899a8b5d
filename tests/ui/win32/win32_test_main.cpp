// Runs the window backend's tests over one Win32 toolkit, on the display that
// the test's X server offers Wine.
#include <gtest/gtest.h>

#include <memory>

#include "tests/ui/win32/win32_window_fixture.h"
#include "ui/toolkit/win32/win32_toolkit.h"

namespace identstrip::ui {
namespace {

std::unique_ptr<Toolkit> toolkit;

}  // namespace

Toolkit& TestToolkit() {
  if (!toolkit) toolkit = win32::CreateWin32Toolkit();
  return *toolkit;
}

void RunMessagesFor(win32::Win32Window& window, int milliseconds) {
  const DWORD start = GetTickCount();
  do {
    window.DispatchWaitingMessages();
    Sleep(2);
  } while (GetTickCount() - start < static_cast<DWORD>(milliseconds));
  window.DispatchWaitingMessages();
}

bool RunMessagesUntil(win32::Win32Window& window, const std::function<bool()>& done,
                      int milliseconds) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > static_cast<DWORD>(milliseconds)) return false;
    window.DispatchWaitingMessages();
    Sleep(2);
  }
  return true;
}

std::string Win32WindowTest::TextOf(int control) const {
  char text[512] = {};
  GetWindowTextA(Control(control), text, sizeof(text));
  return text;
}

}  // namespace identstrip::ui

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
