#include "ui/toolkit/qt/segmented_progress_style.h"

#include <QPainter>
#include <QStyleOptionProgressBar>
#include <algorithm>

namespace identstrip::ui::qt {

void SegmentedProgressStyle::drawControl(ControlElement element, const QStyleOption* option,
                                         QPainter* painter, const QWidget* widget) const {
  const auto* bar = qstyleoption_cast<const QStyleOptionProgressBar*>(option);
  const bool segmented = element == CE_ProgressBarContents && bar != nullptr &&
                         bar->maximum > bar->minimum && !bar->invertedAppearance &&
                         (bar->state & State_Horizontal) && bar->direction == Qt::LeftToRight;
  if (!segmented) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  const QRect area = bar->rect.adjusted(1, 1, -1, -1);
  const qint64 done = std::clamp<qint64>(bar->progress, bar->minimum, bar->maximum) - bar->minimum;
  const int filled = static_cast<int>(area.width() * done / (qint64{bar->maximum} - bar->minimum));
  const int segment = std::max(2, area.height() * 2 / 3);
  const int gap = std::max(1, segment / 4);
  for (int x = 0; x < filled; x += segment + gap) {
    painter->fillRect(area.left() + x, area.top(), std::min(segment, filled - x), area.height(),
                      bar->palette.highlight());
  }
}

}  // namespace identstrip::ui::qt
