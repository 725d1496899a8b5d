#include "ui/toolkit/win32/win32_painting.h"

#include <algorithm>
#include <cstring>

namespace identstrip::ui::win32 {
namespace {

// The picture is drawn in tenths of the 16-unit square it was designed on.
constexpr int PICTURE_UNITS = 160;

constexpr COLORREF FOLDER_BACK = RGB(0xe0, 0xad, 0x1f);
constexpr COLORREF FOLDER_FRONT = RGB(0xff, 0xd8, 0x4d);
constexpr COLORREF FOLDER_EDGE = RGB(0x6b, 0x4f, 0x00);
constexpr COLORREF ARROW = RGB(0x17, 0x60, 0x1a);

constexpr POINT BACK[] = {{15, 145}, {15, 45}, {50, 45}, {60, 55}, {115, 55}, {115, 85}};
constexpr POINT FRONT[] = {{15, 145}, {42, 85}, {150, 85}, {123, 145}, {15, 145}};
constexpr POINT ARROW_CURVE[] = {{75, 50}, {80, 22}, {105, 12}, {126, 24}};
constexpr POINT ARROW_HEAD[] = {{110, 36}, {154, 34}, {136, 3}};

template <std::size_t N>
int Count(const POINT (&)[N]) {
  return static_cast<int>(N);
}

// Fills the polygon and strokes its outline, which stays open where the
// picture's path is open.
template <std::size_t N>
void Shape(HDC dc, const POINT (&points)[N], COLORREF fill, COLORREF edge) {
  HBRUSH brush = CreateSolidBrush(fill);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  Polygon(dc, points, Count(points));
  HPEN pen = CreatePen(PS_SOLID, 0, edge);
  SelectObject(dc, pen);
  Polyline(dc, points, Count(points));
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void Arrow(HDC dc, COLORREF color) {
  LOGBRUSH stroke{BS_SOLID, color, 0};
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, 16, &stroke, 0,
                          nullptr);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  PolyBezier(dc, ARROW_CURVE, Count(ARROW_CURVE));
  SelectObject(dc, GetStockObject(NULL_PEN));
  HBRUSH brush = CreateSolidBrush(color);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  Polygon(dc, ARROW_HEAD, Count(ARROW_HEAD));
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void CentredText(HDC dc, RECT rect, const char* text, COLORREF color, bool disabled) {
  const int length = static_cast<int>(std::strlen(text));
  if (!disabled) {
    SetTextColor(dc, color);
    DrawTextA(dc, text, length, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return;
  }
  SIZE size{};
  GetTextExtentPoint32A(dc, text, length, &size);
  const int x = rect.left + (rect.right - rect.left - size.cx) / 2;
  const int y = rect.top + (rect.bottom - rect.top - size.cy) / 2;
  // The system's embossed grey text of a disabled control.
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text), static_cast<WPARAM>(length), x,
             y, size.cx, size.cy, DST_TEXT | DSS_DISABLED);
}

}  // namespace

void PaintTextButton(HDC dc, RECT rect, const char* text, HFONT font, COLORREF color,
                     const ButtonLook& look) {
  RECT face = rect;
  if (look.default_frame) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&face, -1, -1);
  }
  if (look.pushed && look.default_frame) {
    // A pressed default button sinks flat into its shadow, as the system draws it.
    FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT inner = face;
    InflateRect(&inner, -1, -1);
    FillRect(dc, &inner, GetSysColorBrush(COLOR_BTNFACE));
  } else {
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (look.pushed ? DFCS_PUSHED : 0));
  }

  const int saved = SaveDC(dc);
  SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  RECT text_rect = face;
  InflateRect(&text_rect, -2, -2);
  if (look.pushed) OffsetRect(&text_rect, 1, 1);
  CentredText(dc, text_rect, text, color, look.disabled);
  RestoreDC(dc, saved);

  if (look.focused && look.show_focus) {
    RECT focus = face;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

void PaintPictureButton(HDC dc, RECT rect, const ButtonLook& look) {
  FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
  // Flat as on a toolbar: an edge only under the mouse or while pressed.
  RECT edge = rect;
  if (look.pushed) {
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
  } else if (look.hot && !look.disabled) {
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
  }
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int side = std::max(4, std::min(width, height) - 4);
  const int shift = look.pushed ? 1 : 0;
  PaintOpenFolder(dc, rect.left + (width - side) / 2 + shift,
                  rect.top + (height - side) / 2 + shift, side, look.disabled);
  if (look.focused && look.show_focus) {
    RECT focus = rect;
    InflateRect(&focus, -1, -1);
    DrawFocusRect(dc, &focus);
  }
}

void PaintOpenFolder(HDC dc, int x, int y, int side, bool disabled) {
  const int saved = SaveDC(dc);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, PICTURE_UNITS, PICTURE_UNITS, nullptr);
  SetViewportExtEx(dc, side, side, nullptr);
  SetViewportOrgEx(dc, x, y, nullptr);
  const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  Shape(dc, BACK, disabled ? face : FOLDER_BACK, disabled ? grey : FOLDER_EDGE);
  Shape(dc, FRONT, disabled ? face : FOLDER_FRONT, disabled ? grey : FOLDER_EDGE);
  Arrow(dc, disabled ? grey : ARROW);
  RestoreDC(dc, saved);
}

}  // namespace identstrip::ui::win32
