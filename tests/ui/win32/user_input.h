#pragma once

#include <initializer_list>
#include <string_view>

#include "ui/toolkit/win32/win32_api.h"

// Key presses and mouse clicks as the system's input queue sees them from a
// keyboard and a mouse, for the window backend's tests.
namespace identstrip::ui::testing {

// Presses the keys in order (modifiers first) and releases them backwards.
void PressKeys(std::initializer_list<WORD> keys);
void PressKey(WORD key);
void TypeText(std::string_view text);
// A left click in the middle of the window's rectangle, or at a screen point.
void ClickOn(HWND window);
void ClickAt(POINT screen_point);

// Puts text on the clipboard, as another program's copy would.
void SetClipboardText(HWND owner, std::string_view text);

}  // namespace identstrip::ui::testing
