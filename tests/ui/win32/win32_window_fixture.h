#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/ui/event_printing.h"
#include "tests/ui/win32/user_input.h"
#include "ui/main_window_definition.h"
#include "ui/toolkit/toolkit.h"
#include "ui/toolkit/win32/win32_window.h"

namespace identstrip::ui {

// The one Win32 toolkit of the test program.
Toolkit& TestToolkit();

inline auto IsEvent(EventKind kind, int control = 0) {
  return ::testing::AllOf(::testing::Field(&Event::kind, kind),
                          ::testing::Field(&Event::control, control));
}

// Lets the message loop run for a while, dispatching what arrives, as a
// program busy elsewhere would not.
void RunMessagesFor(win32::Win32Window& window, int milliseconds);
// Runs the message loop until `done` holds or the time is up; returns `done()`.
bool RunMessagesUntil(win32::Win32Window& window, const std::function<bool()>& done,
                      int milliseconds = 3000);

// The main window over its three variables, as the program creates it.
class Win32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = TestToolkit().CreateWindow(MainWindowDefinition(), variables_);
    ASSERT_NE(window_, nullptr);
    win32_ = static_cast<win32::Win32Window*>(window_.get());
  }

  // Opens the window, waits until it is active, puts the focus where the
  // program puts it and forgets the events of opening.
  void OpenActive() {
    window_->Open();
    window_->SetTimerPeriod(0);
    ASSERT_TRUE(RunMessagesUntil(*win32_, [this] { return GetActiveWindow() == Top(); }));
    window_->Focus(PROMPT1);
    RunMessagesFor(*win32_, 30);
    win32_->TakeQueuedEvents();
  }

  // Lets what is pending arrive and takes the events queued so far.
  std::vector<Event> Events(int milliseconds = 60) {
    RunMessagesFor(*win32_, milliseconds);
    return win32_->TakeQueuedEvents();
  }

  // The control with the focus after each of `presses` presses of the keys.
  std::vector<int> FocusAfterEach(std::initializer_list<WORD> keys, int presses) {
    std::vector<int> visited;
    for (int i = 0; i < presses; ++i) {
      testing::PressKeys(keys);
      Events(30);
      visited.push_back(Focused());
    }
    return visited;
  }

  HWND Top() const { return win32_->Handle(); }
  HWND Control(int control) const { return win32_->ControlHandle(control); }
  int Focused() const { return window_->FocusedControl(); }
  std::string TextOf(int control) const;

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
  win32::Win32Window* win32_ = nullptr;
};

}  // namespace identstrip::ui
