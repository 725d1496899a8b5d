#include "ui/toolkit/qt/qt_pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <initializer_list>

namespace identstrip::ui::qt {
namespace {

// Renders the picture at each side length, sharp on high-density screens too.
QIcon RenderedIcon(const QString& resource, std::initializer_list<int> sides) {
  QSvgRenderer renderer(resource);
  QIcon icon;
  if (!renderer.isValid()) return icon;
  const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
  for (int side : sides) {
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, side, side));
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon OpenFolderPicture(int side) {
  return RenderedIcon(":/pictures/open_folder.svg", {side});
}

QIcon ApplicationIcon() {
  return RenderedIcon(":/pictures/identstrip.svg", {16, 24, 32, 48, 64, 128});
}

}  // namespace identstrip::ui::qt
