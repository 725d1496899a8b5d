#pragma once

#include <functional>

#include <QObject>
#include <QTimer>

class QWidget;

namespace identstrip::ui::testing {

// Acts on modal dialogs from inside their own event loop, as a user would:
// each script runs once the next modal dialog has opened, on top of the one
// active when the script was given, and become the active window. Dialogs still open after
// `patience` are rejected, and the test fails.
class ModalDriver : public QObject {
 public:
  explicit ModalDriver(int patience_ms = 20000);
  ~ModalDriver() override;

  void WhenNextOpens(std::function<void(QWidget*)> script);

 private:
  QTimer watchdog_;
};

}  // namespace identstrip::ui::testing
