// The main window as it opens: its frame, its controls and where they lie.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QWindow>
#include <cstdio>
#include <vector>

#include "qt_window_fixture.h"
#include "ui/toolkit/dialog_units.h"

namespace identstrip::ui {
namespace {

using LayoutTest = MainWindowTest;

// The rule applied to the font the window was given, measured here afresh.
std::vector<PixelRect> ExpectedRects(const WindowDefinition& definition, const QWidget& window) {
  const QFontMetrics metrics(window.font(), &window);
  const BaseUnits base =
      BaseUnitsOf(metrics.horizontalAdvance(QString::fromLatin1(
                      MEASURING_LETTERS.data(), static_cast<qsizetype>(MEASURING_LETTERS.size()))),
                  metrics.height());
  std::vector<PixelRect> rects;
  for (const ControlDefinition& control : definition.controls) {
    const QString text =
        QString::fromUtf8(control.text.data(), static_cast<qsizetype>(control.text.size()));
    rects.push_back(
        ControlPixels(control, base, {metrics.horizontalAdvance(text), metrics.height()}));
  }
  return rects;
}

std::vector<PixelRect> ActualRects(const qt::QtWindow& window, const WindowDefinition& definition) {
  std::vector<PixelRect> rects;
  for (const ControlDefinition& control : definition.controls) {
    const QRect r = window.ControlWidget(control.number)->geometry();
    rects.push_back({r.x(), r.y(), r.width(), r.height()});
  }
  return rects;
}

TEST_F(LayoutTest, OpensWithProgressHiddenAndEverythingElseVisibleAndEnabled) {
  OpenActive();
  for (int control = PROMPT1; control <= BUTTON_CANCEL; ++control) {
    const bool hidden = control == STRING1 || control == PROGRESS_THERMOMETER;
    EXPECT_EQ(Widget(control)->isVisible(), !hidden) << control;
    EXPECT_TRUE(Widget(control)->isEnabled()) << control;
  }
  EXPECT_EQ(Focused(), OLDFILENAME);
}

TEST_F(LayoutTest, ShowsTheTextsExactlyAndNoTooltips) {
  EXPECT_EQ(qt_->TopLevel()->windowTitle(), "Strip IDENTs from TXD/TXA");
  EXPECT_EQ(qobject_cast<QLabel*>(Widget(PROMPT1))->text(), "\"Old\" filename:");
  EXPECT_EQ(qobject_cast<QLabel*>(Widget(STRING2))->text(), "\"New\" filename");
  EXPECT_EQ(qobject_cast<QLabel*>(Widget(STRING1))->text(), "Converting:");
  EXPECT_EQ(Button(BUTTON_START)->text(), "Convert File");
  EXPECT_EQ(Button(BUTTON_CANCEL)->text(), "Cancel/Exit");
  for (int control = PROMPT1; control <= BUTTON_CANCEL; ++control) {
    EXPECT_TRUE(Widget(control)->toolTip().isEmpty()) << control;
  }
}

TEST_F(LayoutTest, ChooserButtonsAreFlatPicturesWithoutText) {
  for (int control : {LOOKUPFILE, LOOKUPFILE_2}) {
    QPushButton* button = Button(control);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isFlat());
    EXPECT_TRUE(button->text().isEmpty());
    const QImage picture = button->icon().pixmap(button->iconSize()).toImage();
    ASSERT_FALSE(picture.isNull()) << "the folder picture did not load";
    EXPECT_LE(button->iconSize().width(), button->width());
    EXPECT_LE(button->iconSize().height(), button->height());
    // Drawn, not blank: the folder's yellow is in it.
    bool yellow = false;
    for (int y = 0; y < picture.height() && !yellow; ++y) {
      for (int x = 0; x < picture.width() && !yellow; ++x) {
        const QColor c = picture.pixelColor(x, y);
        yellow = c.alpha() > 200 && c.red() > 200 && c.green() > 150 && c.blue() < 120;
      }
    }
    EXPECT_TRUE(yellow) << control;
  }
}

TEST_F(LayoutTest, ConvertFileIsTheDefaultButtonInNavy) {
  EXPECT_TRUE(Button(BUTTON_START)->isDefault());
  EXPECT_FALSE(Button(BUTTON_CANCEL)->isDefault());
  EXPECT_EQ(Button(BUTTON_START)->palette().color(QPalette::Active, QPalette::ButtonText),
            QColor(0, 0, 128));
  EXPECT_NE(Button(BUTTON_CANCEL)->palette().color(QPalette::Active, QPalette::ButtonText),
            QColor(0, 0, 128));
}

TEST_F(LayoutTest, ProgressBarRunsFromZeroToAHundred) {
  auto* bar = qobject_cast<QProgressBar*>(Widget(PROGRESS_THERMOMETER));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_EQ(bar->orientation(), Qt::Horizontal);
}

TEST_F(LayoutTest, ProgressBarFillsInSeparateSegments) {
  shown_percent_ = 50;
  window_->Redisplay(PROGRESS_THERMOMETER);
  QWidget* bar = Widget(PROGRESS_THERMOMETER);
  const QImage image = bar->grab().toImage();
  const QColor fill = bar->palette().color(QPalette::Highlight);
  const int y = image.height() / 2;
  int segments = 0;
  int last_filled = -1;
  for (int x = 0; x < image.width(); ++x) {
    if (image.pixelColor(x, y) != fill) continue;
    if (x != last_filled + 1) ++segments;
    last_filled = x;
  }
  EXPECT_GE(segments, 5);
  EXPECT_LT(last_filled, image.width() * 3 / 4) << "half the bar stays empty";
}

TEST_F(LayoutTest, AsksForMsSansSerifEightPointNormal) {
  const QFont font = qt_->TopLevel()->font();
  EXPECT_EQ(font.family(), "MS Sans Serif");
  EXPECT_EQ(font.pointSize(), 8);
  EXPECT_EQ(font.weight(), QFont::Normal);
  EXPECT_FALSE(font.italic());
  EXPECT_FALSE(font.underline());
  for (int control = PROMPT1; control <= BUTTON_CANCEL; ++control) {
    EXPECT_EQ(Widget(control)->font(), font) << control;
  }
}

TEST_F(LayoutTest, ControlsLieWhereTheUnitRuleForTheMeasuredFontPutsThem) {
  const QWidget& window = *qt_->TopLevel();
  const QFontMetrics metrics(window.font(), &window);
  const BaseUnits base = qt_->MeasuredUnits();
  EXPECT_EQ(
      base.width,
      (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) /
          2);
  EXPECT_EQ(base.height, metrics.height());
  EXPECT_EQ(window.size(), QSize(HorizontalPixels(296, base), VerticalPixels(89, base)));
  EXPECT_EQ(ActualRects(*qt_, MainWindowDefinition()),
            ExpectedRects(MainWindowDefinition(), window));
  std::printf("measured base units w = %d, h = %d; client %d x %d\n", base.width, base.height,
              window.width(), window.height());
}

TEST_F(LayoutTest, GrowsInProportionToALargerFont) {
  const QSize normal = qt_->TopLevel()->size();
  const int normal_entry_height = Widget(OLDFILENAME)->height();
  WindowDefinition large = MainWindowDefinition();
  large.font.point_size = 16;
  Create(large);
  const QWidget& window = *qt_->TopLevel();
  EXPECT_GT(window.width(), normal.width());
  EXPECT_GT(window.height(), normal.height());
  EXPECT_GT(Widget(OLDFILENAME)->height(), normal_entry_height);
  EXPECT_EQ(window.size(), QSize(HorizontalPixels(296, qt_->MeasuredUnits()),
                                 VerticalPixels(89, qt_->MeasuredUnits())));
  EXPECT_EQ(ActualRects(*qt_, large), ExpectedRects(large, window));
}

TEST_F(LayoutTest, FrameIsFixedWithMinimiseAndCloseButNoMaximise) {
  const QWidget& window = *qt_->TopLevel();
  EXPECT_EQ(window.minimumSize(), window.size());
  EXPECT_EQ(window.maximumSize(), window.size());
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(window.parentWidget(), nullptr);
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_FALSE(window.windowIcon().pixmap(16, 16).isNull()) << "the icon picture did not load";
}

// Resizing by the border is the window manager's, which keeps to the limits
// the window gives its platform window.
TEST_F(LayoutTest, TellsTheWindowSystemItsSizeCannotChange) {
  OpenActive();
  const QWindow& handle = *qt_->TopLevel()->windowHandle();
  EXPECT_EQ(handle.minimumSize(), qt_->TopLevel()->size());
  EXPECT_EQ(handle.maximumSize(), qt_->TopLevel()->size());
}

TEST_F(LayoutTest, OpensCentredInThePrimaryScreensWorkArea) {
  OpenActive();
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect frame = qt_->TopLevel()->frameGeometry();
  const PixelPoint expected = CentredPlace(
      {work.left(), work.top(), work.left() + work.width(), work.top() + work.height()},
      {frame.width(), frame.height()});
  EXPECT_EQ(frame.topLeft(), QPoint(expected.x, expected.y));
  EXPECT_GT(frame.width(), qt_->TopLevel()->width()) << "the outer size has no frame in it";
}

}  // namespace
}  // namespace identstrip::ui
