#pragma once

#include "ui/toolkit/win32/win32_api.h"

// The window's owner-drawn buttons, painted with GDI in the system's colours.
namespace identstrip::ui::win32 {

struct ButtonLook {
  bool pushed;
  bool focused;
  bool disabled;
  bool hot;            // the mouse is over it (flat buttons only)
  bool default_frame;  // the default button's black frame
  bool show_focus;     // draw the focus rectangle when focused
};

// A push button with a text in `color`, in the standard raised look.
void PaintTextButton(HDC dc, RECT rect, const char* text, HFONT font, COLORREF color,
                     const ButtonLook& look);

// A flat toolbar-style button that shows the open-folder picture.
void PaintPictureButton(HDC dc, RECT rect, const ButtonLook& look);

// The open-folder picture (a yellow folder with a curved arrow above it),
// `side` pixels square with its top-left corner at x, y.
void PaintOpenFolder(HDC dc, int x, int y, int side, bool disabled);

}  // namespace identstrip::ui::win32
