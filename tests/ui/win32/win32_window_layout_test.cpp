// The window as the definition lays it out: sizes from the measured font,
// the frame, the place on the screen, the controls' kinds and looks.
#include <algorithm>

#include "tests/ui/win32/win32_window_fixture.h"
#include "ui/toolkit/dialog_units.h"

namespace identstrip::ui {
namespace {

using LayoutTest = Win32WindowTest;

RECT ClientRectOf(HWND control, HWND parent) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE TextSize(HFONT font, std::string_view text) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  SIZE size{};
  GetTextExtentPoint32A(screen, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return size;
}

int CellHeight(HFONT font) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen, &metrics);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return metrics.tmHeight;
}

TEST_F(LayoutTest, TheUnitsComeFromTheMeasuredWindowFont) {
  LOGFONTA font{};
  ASSERT_TRUE(GetObjectA(win32_->Font(), sizeof(font), &font));
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_FALSE(font.lfItalic);
  EXPECT_FALSE(font.lfUnderline);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
  ReleaseDC(nullptr, screen);

  const BaseUnits expected =
      BaseUnitsOf(TextSize(win32_->Font(), MEASURING_LETTERS).cx, CellHeight(win32_->Font()));
  EXPECT_EQ(win32_->MeasuredUnits().width, expected.width);
  EXPECT_EQ(win32_->MeasuredUnits().height, expected.height);
  for (const auto& control : MainWindowDefinition().controls) {
    EXPECT_EQ(SendMessageA(Control(control.number), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(win32_->Font()))
        << control.name;
  }
}

TEST_F(LayoutTest, EveryControlLiesWhereItsUnitsSay) {
  const BaseUnits base = win32_->MeasuredUnits();
  RECT client{};
  GetClientRect(Top(), &client);
  const PixelSize size = ClientPixels(MainWindowDefinition(), base);
  EXPECT_EQ(client.right, size.width);
  EXPECT_EQ(client.bottom, size.height);
  for (const auto& control : MainWindowDefinition().controls) {
    const LabelMeasure label{TextSize(win32_->Font(), control.text).cx, CellHeight(win32_->Font())};
    const PixelRect expected = ControlPixels(control, base, label);
    const RECT actual = ClientRectOf(Control(control.number), Top());
    EXPECT_EQ((PixelRect{actual.left, actual.top, actual.right - actual.left,
                         actual.bottom - actual.top}),
              expected)
        << control.name;
  }
}

TEST_F(LayoutTest, TheWholeWindowGrowsWithItsFont) {
  WindowDefinition larger = MainWindowDefinition();
  larger.font.point_size = 12;
  const auto grown = TestToolkit().CreateWindow(larger, variables_);
  ASSERT_NE(grown, nullptr);
  const auto& window = static_cast<win32::Win32Window&>(*grown);
  const BaseUnits base = window.MeasuredUnits();
  EXPECT_GT(base.width, win32_->MeasuredUnits().width);
  EXPECT_GT(base.height, win32_->MeasuredUnits().height);
  RECT client{};
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(client.right, ClientPixels(larger, base).width);
  EXPECT_EQ(client.bottom, ClientPixels(larger, base).height);
  for (const auto& control : larger.controls) {
    const LabelMeasure label{TextSize(window.Font(), control.text).cx, CellHeight(window.Font())};
    const PixelRect expected = ControlPixels(control, base, label);
    const RECT actual = ClientRectOf(window.ControlHandle(control.number), window.Handle());
    EXPECT_EQ((PixelRect{actual.left, actual.top, actual.right - actual.left,
                         actual.bottom - actual.top}),
              expected)
        << control.name;
  }
}

TEST_F(LayoutTest, AFixedFrameCentredInTheWorkArea) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(Top(), GWL_STYLE));
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the user cannot resize it";
  EXPECT_EQ(GetParent(Top()), nullptr);
  EXPECT_EQ(GetWindow(Top(), GW_OWNER), nullptr);
  EXPECT_EQ(GetMenu(Top()), nullptr);
  EXPECT_NE(GetClassLongPtrA(Top(), GCLP_HICONSM), 0u) << "an icon in the title bar";

  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT outer{};
  GetWindowRect(Top(), &outer);
  const PixelPoint place = CentredPlace({work.left, work.top, work.right, work.bottom},
                                        {outer.right - outer.left, outer.bottom - outer.top});
  EXPECT_EQ(outer.left, place.x);
  EXPECT_EQ(outer.top, place.y);
}

TEST_F(LayoutTest, TheControlsAtOpening) {
  OpenActive();
  for (const auto& control : MainWindowDefinition().controls) {
    const bool hidden = control.number == STRING1 || control.number == PROGRESS_THERMOMETER;
    EXPECT_EQ(IsWindowVisible(Control(control.number)) != 0, !hidden) << control.name;
    EXPECT_TRUE(IsWindowEnabled(Control(control.number))) << control.name;
  }
  EXPECT_EQ(TextOf(PROMPT1), "\"Old\" filename:");
  EXPECT_EQ(TextOf(STRING2), "\"New\" filename");
  EXPECT_EQ(TextOf(LOOKUPFILE), "");
  EXPECT_EQ(TextOf(BUTTON_START), "Convert File");
  for (int label : {PROMPT1, STRING2, STRING1}) {
    EXPECT_TRUE(GetWindowLongPtrA(Control(label), GWL_STYLE) & SS_NOPREFIX) << label;
  }
  const HWND bar = Control(PROGRESS_THERMOMETER);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_FALSE(GetWindowLongPtrA(bar, GWL_STYLE) & PBS_SMOOTH) << "segmented";
}

// The colours of the control's pixels as drawn on the screen.
std::vector<COLORREF> PixelsOf(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  HDC screen = GetDC(nullptr);
  std::vector<COLORREF> pixels;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) pixels.push_back(GetPixel(screen, x, y));
  }
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool Has(const std::vector<COLORREF>& pixels, COLORREF color) {
  return std::find(pixels.begin(), pixels.end(), color) != pixels.end();
}

TEST_F(LayoutTest, ConvertFileIsWrittenInNavyAndTheChoosersShowTheFolder) {
  OpenActive();
  RedrawWindow(Top(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Events(100);
  constexpr COLORREF NAVY = RGB(0, 0, 128);
  constexpr COLORREF FOLDER = RGB(0xff, 0xd8, 0x4d);
  EXPECT_TRUE(Has(PixelsOf(Control(BUTTON_START)), NAVY));
  EXPECT_FALSE(Has(PixelsOf(Control(BUTTON_CANCEL)), NAVY));
  for (int chooser : {LOOKUPFILE, LOOKUPFILE_2}) {
    EXPECT_TRUE(Has(PixelsOf(Control(chooser)), FOLDER)) << chooser;
  }
}

}  // namespace
}  // namespace identstrip::ui
