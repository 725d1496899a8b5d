#include "ui/toolkit/dialog_units.h"

#include <gtest/gtest.h>

#include "ui/main_window_definition.h"

namespace identstrip::ui {
namespace {

constexpr BaseUnits WORKED_EXAMPLE{6, 13};

const ControlDefinition& MainWindowControl(int number) {
  return MainWindowDefinition().controls[number - 1];
}

TEST(BaseUnitsOf, AverageWidthDropsBothRemainders) {
  struct Case {
    int letters_width, expected_width;
  };
  // (width / 26 + 1) / 2, integer steps: 311 -> 11 -> 6, 337 -> 12 -> 6, 338 -> 13 -> 7.
  for (const Case& c : {Case{311, 6}, Case{337, 6}, Case{338, 7}, Case{353, 7}, Case{389, 7},
                        Case{390, 8}, Case{0, 0}}) {
    EXPECT_EQ(BaseUnitsOf(c.letters_width, 13).width, c.expected_width) << c.letters_width;
  }
  EXPECT_EQ(BaseUnitsOf(353, 13).height, 13);
}

TEST(UnitsToPixels, RoundsHalvesAwayFromZero) {
  struct Case {
    int units, horizontal, vertical;
  };
  // With w = 6 one horizontal unit is 1.5 px; with h = 13 one vertical unit 1.625 px.
  for (const Case& c :
       {Case{0, 0, 0}, Case{1, 2, 2}, Case{2, 3, 3}, Case{3, 5, 5}, Case{4, 6, 7}, Case{-1, -2, -2},
        Case{-3, -5, -5}, Case{-4, -6, -7}, Case{65, 98, 106}, Case{89, 134, 145}}) {
    EXPECT_EQ(HorizontalPixels(c.units, WORKED_EXAMPLE), c.horizontal) << c.units;
    EXPECT_EQ(VerticalPixels(c.units, WORKED_EXAMPLE), c.vertical) << c.units;
  }
}

TEST(ControlPixels, WorkedExampleOfTheMainWindow) {
  EXPECT_EQ(ControlPixels(MainWindowControl(OLDFILENAME), WORKED_EXAMPLE, {}),
            (PixelRect{98, 23, 300, 16}));
  EXPECT_EQ(ClientPixels(MainWindowDefinition(), WORKED_EXAMPLE), (PixelSize{444, 145}));
  const PixelRect prompt = ControlPixels(MainWindowControl(PROMPT1), WORKED_EXAMPLE, {83, 13});
  EXPECT_EQ(prompt, (PixelRect{15, 23, 83, 16}));
}

TEST(ControlPixels, ConvertsPlaceAndSizeSeparately) {
  // One unit left and one unit wide: 1.5 -> 2 and 1.5 -> 2, so the right edge
  // is at 4, not at the 3 pixels that two units would make.
  const ControlDefinition control{1, "?X", ControlKind::Entry, "", 1, 1, 1, 1};
  EXPECT_EQ(ControlPixels(control, WORKED_EXAMPLE, {}), (PixelRect{2, 2, 2, 2}));
}

TEST(ControlPixels, LabelTakesEachSizeFromItsTextOnlyWhereAsked) {
  const LabelMeasure text{57, 15};
  const ControlDefinition both{1, "?L", ControlKind::Text, "x", 10, 31, FROM_TEXT, FROM_TEXT};
  const ControlDefinition width_only{1, "?L", ControlKind::Text, "x", 10, 31, FROM_TEXT, 10};
  const ControlDefinition height_only{1, "?L", ControlKind::Text, "x", 10, 31, 40, FROM_TEXT};
  // Label height: the label font's cell (15) plus a quarter of the window's (13 / 4 = 3).
  EXPECT_EQ(ControlPixels(both, WORKED_EXAMPLE, text), (PixelRect{15, 50, 57, 18}));
  EXPECT_EQ(ControlPixels(width_only, WORKED_EXAMPLE, text), (PixelRect{15, 50, 57, 16}));
  EXPECT_EQ(ControlPixels(height_only, WORKED_EXAMPLE, text), (PixelRect{15, 50, 60, 18}));
}

TEST(LabelHeight, AddsAQuarterOfTheWindowCellWithoutRemainder) {
  struct Case {
    int label_cell, window_cell, expected;
  };
  for (const Case& c :
       {Case{13, 13, 16}, Case{16, 16, 20}, Case{13, 16, 17}, Case{16, 13, 19}, Case{13, 3, 13}}) {
    EXPECT_EQ(LabelHeight(c.label_cell, {6, c.window_cell}), c.expected)
        << c.label_cell << " " << c.window_cell;
  }
}

TEST(CentredPlace, CentresInTheWorkAreaAndClampsToItsTopLeft) {
  struct Case {
    const char* what;
    WorkArea area;
    PixelSize outer;
    PixelPoint expected;
  };
  const Case cases[] = {
      {"whole screen", {0, 0, 1024, 768}, {530, 180}, {247, 294}},
      {"odd sums drop the remainder", {0, 0, 1025, 769}, {530, 180}, {247, 294}},
      {"bars on the left and at the top", {60, 30, 1024, 768}, {530, 180}, {277, 309}},
      {"screen left of the primary", {-1280, 0, 0, 1024}, {530, 180}, {-905, 422}},
      {"wider than the area", {0, 0, 400, 300}, {530, 180}, {0, 60}},
      {"larger than an offset area", {100, 50, 500, 200}, {530, 180}, {100, 50}},
  };
  for (const Case& c : cases) EXPECT_EQ(CentredPlace(c.area, c.outer), c.expected) << c.what;
}

}  // namespace
}  // namespace identstrip::ui
