#include "tests/ui/modal_driver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace identstrip::ui::testing {

ModalDriver::ModalDriver(int patience_ms) {
  watchdog_.setInterval(patience_ms);
  connect(&watchdog_, &QTimer::timeout, this, [] {
    ADD_FAILURE() << "a dialog was still open; closing it";
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QDialog*>(window);
      if (dialog != nullptr && dialog->isVisible()) dialog->reject();
    }
  });
  watchdog_.start();
}

ModalDriver::~ModalDriver() = default;

void ModalDriver::WhenNextOpens(std::function<void(QWidget*)> script) {
  QWidget* const below = QApplication::activeModalWidget();
  auto* poll = new QTimer(this);
  poll->setInterval(10);
  connect(poll, &QTimer::timeout, this, [poll, below, script = std::move(script)] {
    QWidget* const modal = QApplication::activeModalWidget();
    // A user types into a dialog once it has the keyboard focus.
    if (modal == nullptr || modal == below || !modal->isActiveWindow()) return;
    poll->stop();
    poll->deleteLater();
    script(modal);
  });
  poll->start();
}

}  // namespace identstrip::ui::testing
