#pragma once

#include <QProxyStyle>

namespace identstrip::ui::qt {

// The application's style, except that a horizontal progress bar fills in
// separate segments rather than as one smooth bar.
class SegmentedProgressStyle final : public QProxyStyle {
  Q_OBJECT

 public:
  SegmentedProgressStyle() = default;

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
};

}  // namespace identstrip::ui::qt
