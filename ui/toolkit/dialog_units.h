#pragma once

#include <string_view>

#include "ui/toolkit/toolkit.h"

// Dialog units of a window font and their conversion to pixels. Every backend
// lays its windows out with these functions, from the font it measured.
namespace identstrip::ui {

// The letters whose written width gives the font's average character width.
inline constexpr std::string_view MEASURING_LETTERS =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The window font's base units in pixels: w, the average character width, and
// h, the character cell height.
struct BaseUnits {
  int width;
  int height;
};

// `letters_width` is the width in pixels of MEASURING_LETTERS in the font.
BaseUnits BaseUnitsOf(int letters_width, int cell_height);

// n horizontal units are n * 2w / 8 pixels, n vertical units n * h / 8, each
// rounded to the nearest pixel with halves away from zero.
int HorizontalPixels(int units, BaseUnits base);
int VerticalPixels(int units, BaseUnits base);

// What a label that sizes itself needs to know about its text.
struct LabelMeasure {
  int text_width;   // pixels of its text written on one line in its font
  int cell_height;  // cell height of the label's font
};

struct PixelRect {
  int left, top, width, height;
  bool operator==(const PixelRect&) const = default;
};

struct PixelSize {
  int width, height;
  bool operator==(const PixelSize&) const = default;
};

struct PixelPoint {
  int x, y;
  bool operator==(const PixelPoint&) const = default;
};

// The control's place and size in pixels. Place and size are converted
// separately, so the right edge is left + width in pixels, not the conversion
// of left + width in units. `label` is used only for a width or height of
// FROM_TEXT.
PixelRect ControlPixels(const ControlDefinition& control, BaseUnits base, LabelMeasure label);

PixelSize ClientPixels(const WindowDefinition& window, BaseUnits base);

// Height of a label sized from its text: its font's cell height plus a quarter
// of the window font's, the remainder of the quarter dropped.
int LabelHeight(int label_cell_height, BaseUnits window_base);

// A screen's work area: right and bottom are the first pixels outside it.
struct WorkArea {
  int left, top, right, bottom;
};

// The outer window's top-left corner, centred in the work area and moved to
// its left or top edge where it would lie before it.
PixelPoint CentredPlace(WorkArea area, PixelSize outer);

}  // namespace identstrip::ui
