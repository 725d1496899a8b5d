#include "ui/toolkit/dialog_units.h"

#include <algorithm>

namespace identstrip::ui {
namespace {

// numerator / 8, rounded to the nearest integer with halves away from zero.
int EighthsRounded(long long numerator) {
  const long long magnitude = numerator < 0 ? -numerator : numerator;
  const long long rounded = (magnitude + 4) / 8;
  return static_cast<int>(numerator < 0 ? -rounded : rounded);
}

}  // namespace

BaseUnits BaseUnitsOf(int letters_width, int cell_height) {
  return {(letters_width / 26 + 1) / 2, cell_height};
}

int HorizontalPixels(int units, BaseUnits base) {
  return EighthsRounded(static_cast<long long>(units) * 2 * base.width);
}

int VerticalPixels(int units, BaseUnits base) {
  return EighthsRounded(static_cast<long long>(units) * base.height);
}

int LabelHeight(int label_cell_height, BaseUnits window_base) {
  return label_cell_height + window_base.height / 4;
}

PixelRect ControlPixels(const ControlDefinition& control, BaseUnits base, LabelMeasure label) {
  return {
      HorizontalPixels(control.left, base),
      VerticalPixels(control.top, base),
      control.width == FROM_TEXT ? label.text_width : HorizontalPixels(control.width, base),
      control.height == FROM_TEXT ? LabelHeight(label.cell_height, base)
                                  : VerticalPixels(control.height, base),
  };
}

PixelSize ClientPixels(const WindowDefinition& window, BaseUnits base) {
  return {HorizontalPixels(window.client_width, base), VerticalPixels(window.client_height, base)};
}

PixelPoint CentredPlace(WorkArea area, PixelSize outer) {
  const int left = (area.left + area.right - outer.width) / 2;
  const int top = (area.top + area.bottom - outer.height) / 2;
  return {std::max(left, area.left), std::max(top, area.top)};
}

}  // namespace identstrip::ui
