#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/file_system.h"
#include "tests/support/temp_dir.h"
#include "tests/window/fake_window.h"
#include "ui/main_window.h"

namespace identstrip::ui::testing {

using identstrip::testing::ReadBytes;
using identstrip::testing::TempDir;
using Lines = std::vector<std::string>;

// Writes a file of the test's folder and returns its path.
inline std::string Write(const TempDir& dir, std::string_view name, std::string_view bytes) {
  const std::string path = dir.File(name);
  identstrip::testing::WriteBytes(path, bytes);
  return path;
}

// Runs the program's window over a fake toolkit: the test scripts the events
// and the chooser's answers, then reads the transcript.
class MainWindowTest : public ::testing::Test {
 protected:
  // The user types into an entry; the text reaches its variable before the
  // next event, as when the entry loses the focus.
  Action Type(int control, std::string text) {
    return Action{[this, control, text] { screen.Type(control, text); }};
  }
  Action Check(std::function<void()> check) { return Action{std::move(check)}; }

  bool Run(FileSystem& file_system = SystemFileSystem()) {
    FakeToolkit toolkit(screen);
    return RunMainWindow(toolkit, file_system, [&](Window& window) {
      EXPECT_EQ(&window, toolkit.window) << "the dialogs must belong to the main window";
      return std::make_unique<ScriptedDialogs>(screen);
    });
  }

  static std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

  FakeScreen screen;
};

}  // namespace identstrip::ui::testing
