// Runs the widget tests over one Qt toolkit, made only when tests run (not
// when they are listed), on whatever platform QT_QPA_PLATFORM names.
#include <gtest/gtest.h>

#include <memory>

#include "qt_window_fixture.h"
#include "ui/toolkit/qt/qt_toolkit.h"

namespace identstrip::ui {
namespace {

std::unique_ptr<Toolkit> toolkit;

class QtToolkitEnvironment final : public testing::Environment {
 public:
  void SetUp() override { toolkit = qt::CreateQtToolkit(); }
  void TearDown() override { toolkit.reset(); }
};

const char* KindName(EventKind kind) {
  switch (kind) {
    case EventKind::Opened:
      return "Opened";
    case EventKind::Sized:
      return "Sized";
    case EventKind::FocusGained:
      return "FocusGained";
    case EventKind::Timer:
      return "Timer";
    case EventKind::CloseRequest:
      return "CloseRequest";
    case EventKind::Pressed:
      return "Pressed";
    case EventKind::Accepted:
      return "Accepted";
    case EventKind::Private:
      return "Private";
  }
  return "?";
}

}  // namespace

Toolkit& TestToolkit() {
  return *toolkit;
}

void PrintTo(EventKind kind, std::ostream* out) {
  *out << KindName(kind);
}

void PrintTo(const Event& event, std::ostream* out) {
  *out << KindName(event.kind) << "(control " << event.control;
  if (event.kind == EventKind::Private) *out << ", number " << event.private_number;
  *out << ")";
}

}  // namespace identstrip::ui

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new identstrip::ui::QtToolkitEnvironment);
  return RUN_ALL_TESTS();
}
