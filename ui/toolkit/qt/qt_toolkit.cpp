#include "ui/toolkit/qt/qt_toolkit.h"

#include <QApplication>

#include "ui/toolkit/qt/qt_window.h"

namespace identstrip::ui::qt {
namespace {

class QtToolkit final : public Toolkit {
 public:
  QtToolkit() {
    if (QCoreApplication::instance() == nullptr) {
      application_ = std::make_unique<QApplication>(argc_, argv_);
    }
  }

  std::unique_ptr<Window> CreateWindow(const WindowDefinition& definition,
                                       std::span<const BoundVariable> variables) override {
    return std::make_unique<QtWindow>(definition, variables);
  }

 private:
  // QApplication keeps references to both for its whole life.
  int argc_ = 1;
  char program_name_[11] = "identstrip";
  char* argv_[2] = {program_name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

}  // namespace

std::unique_ptr<Toolkit> CreateQtToolkit() {
  return std::make_unique<QtToolkit>();
}

}  // namespace identstrip::ui::qt
