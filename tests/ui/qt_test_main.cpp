// Runs the widget tests over one Qt toolkit, made only when tests run (not
// when they are listed), on whatever platform QT_QPA_PLATFORM names. What
// Qt's file dialog remembers goes to the build tree, not the user's settings.
#include <gtest/gtest.h>

#include <QByteArray>
#include <memory>

#include "qt_window_fixture.h"
#include "ui/toolkit/qt/qt_toolkit.h"

namespace identstrip::ui {
namespace {

std::unique_ptr<Toolkit> toolkit;

class QtToolkitEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("XDG_CONFIG_HOME", IDENTSTRIP_TEST_CONFIG_HOME);
    toolkit = qt::CreateQtToolkit();
  }
  void TearDown() override { toolkit.reset(); }
};

}  // namespace

Toolkit& TestToolkit() {
  return *toolkit;
}

}  // namespace identstrip::ui

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new identstrip::ui::QtToolkitEnvironment);
  return RUN_ALL_TESTS();
}
