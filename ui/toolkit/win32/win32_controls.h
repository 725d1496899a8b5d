#pragma once

#include <optional>

#include "ui/toolkit/toolkit.h"
#include "ui/toolkit/win32/win32_api.h"

// What the window's parts agree on about its controls and messages.
namespace identstrip::ui::win32 {

// Control numbers start at 1, but the dialog manager reserves the
// identifiers 1 (IDOK) and 2 (IDCANCEL, the Esc key) for itself.
inline constexpr int CONTROL_ID_BASE = 100;
inline constexpr UINT_PTR TIMER_ID = 1;
inline constexpr UINT PRIVATE_MESSAGE = WM_APP + 1;

inline bool IsButton(ControlKind kind) {
  return kind == ControlKind::Button || kind == ControlKind::PictureButton;
}

// The picture buttons and a button with a colour of its own are drawn by the
// window; the others by the system.
inline bool IsOwnerDrawn(const ControlDefinition& definition) {
  return definition.kind == ControlKind::PictureButton ||
         (definition.kind == ControlKind::Button && definition.text_color.has_value());
}

inline COLORREF ColorOf(const std::optional<Color>& color) {
  return color ? RGB(color->red, color->green, color->blue) : GetSysColor(COLOR_BTNTEXT);
}

inline SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right - client.left, client.bottom - client.top};
}

}  // namespace identstrip::ui::win32
