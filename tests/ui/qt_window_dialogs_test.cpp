// The two dialogs as the main window shows them: owned by its top-level
// widget, holding its timer back while open, and handing the focus back.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "conversion/file_system.h"
#include "tests/ui/modal_driver.h"
#include "ui/main_window_definition.h"
#include "ui/standard_dialogs.h"
#include "ui/toolkit/qt/qt_toolkit.h"
#include "ui/toolkit/qt/qt_window.h"

namespace identstrip::ui {
namespace {

class MainWindowDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = toolkit_->CreateWindow(MainWindowDefinition(), variables_);
    qt_ = static_cast<qt::QtWindow*>(window_.get());
    window_->Open();
    window_->SetTimerPeriod(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(qt_->TopLevel()));
    qt_->TakeQueuedEvents();
  }

  testing::ModalDriver driver_;
  std::unique_ptr<Toolkit> toolkit_ = qt::CreateQtToolkit();
  std::string input_name_;
  std::string output_name_;
  std::uint8_t shown_percent_ = 0;
  std::array<BoundVariable, 3> variables_{&input_name_, &output_name_, &shown_percent_};
  std::unique_ptr<Window> window_;
  qt::QtWindow* qt_ = nullptr;
};

TEST_F(MainWindowDialogsTest, TicksDuringADialogComeOnceAfterIt) {
  const std::function<void(Dialogs&)> dialogs[] = {
      [this](Dialogs& d) {
        d.ChooseFile("Choose an Input TXD/TXA Clarion Text File", "TXD/A|*.tx?|All Files|*.*",
                     input_name_);
      },
      [](Dialogs& d) { d.ShowMessage("File not found!", "Convert file"); },
  };
  for (const auto& open : dialogs) {
    StandardDialogs standard(*window_, SystemFileSystem());
    bool owned = false;
    driver_.WhenNextOpens([&](QWidget* dialog) {
      owned = dialog->parentWidget() == qt_->TopLevel();
      QTest::qWait(150);  // fifteen periods of the timer
      QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
    });
    window_->SetTimerPeriod(1);
    open(standard);
    const std::vector<Event> events = qt_->TakeQueuedEvents();
    window_->SetTimerPeriod(0);

    EXPECT_TRUE(owned);
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const Event& event) { return event.kind == EventKind::Timer; }),
              1);
  }
}

TEST_F(MainWindowDialogsTest, MessageHandsTheFocusBack) {
  StandardDialogs standard(*window_, SystemFileSystem());
  window_->Focus(NEWFILENAME);
  driver_.WhenNextOpens([](QWidget* box) { QTest::keyClick(box->focusWidget(), Qt::Key_Return); });
  EXPECT_EQ(standard.ShowMessage("File not found!", "Convert file"), 1);
  EXPECT_EQ(window_->FocusedControl(), NEWFILENAME);
}

}  // namespace
}  // namespace identstrip::ui
