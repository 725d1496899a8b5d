#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/ui/event_printing.h"
#include "ui/main_window_definition.h"
#include "ui/toolkit/qt/qt_window.h"
#include "ui/toolkit/toolkit.h"

namespace identstrip::ui {

// The one Qt toolkit of the test program (Qt allows one application object).
Toolkit& TestToolkit();

// Matches an event of the given kind concerning the given control.
inline auto IsEvent(EventKind kind, int control = 0) {
  return ::testing::AllOf(::testing::Field(&Event::kind, kind),
                          ::testing::Field(&Event::control, control));
}

// The main window over its three variables, as the program creates it.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { Create(MainWindowDefinition()); }

  void Create(const WindowDefinition& definition) {
    window_.reset();
    window_ = TestToolkit().CreateWindow(definition, variables_);
    qt_ = static_cast<qt::QtWindow*>(window_.get());
  }

  // Opens the window, waits until it is active, puts the focus where the
  // program puts it and forgets the events of opening.
  void OpenActive() {
    window_->Open();
    window_->SetTimerPeriod(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(qt_->TopLevel()));
    window_->Focus(PROMPT1);
    qt_->TakeQueuedEvents();
  }

  // Lets Qt deliver what is pending and takes the events queued so far.
  std::vector<Event> Events() {
    QCoreApplication::processEvents();
    return qt_->TakeQueuedEvents();
  }

  QWidget* Widget(int control) const { return qt_->ControlWidget(control); }
  QLineEdit* Entry(int control) const { return qobject_cast<QLineEdit*>(Widget(control)); }
  QPushButton* Button(int control) const { return qobject_cast<QPushButton*>(Widget(control)); }

  // Control 0 when the focus is on none of the window's controls.
  int Focused() const { return window_->FocusedControl(); }

  void ShowRunningLook() {
    for (int control : {PROMPT1, OLDFILENAME, LOOKUPFILE, BUTTON_START}) {
      window_->SetEnabled(control, false);
    }
    window_->SetVisible(STRING1, true);
    window_->SetVisible(PROGRESS_THERMOMETER, true);
  }

  std::string input_name_;
  std::string output_name_;
  std::uint8_t shown_percent_ = 0;
  std::array<BoundVariable, 3> variables_{&input_name_, &output_name_, &shown_percent_};
  std::unique_ptr<Window> window_;
  qt::QtWindow* qt_ = nullptr;
};

}  // namespace identstrip::ui
