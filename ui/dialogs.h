#pragma once

#include <string>
#include <string_view>

namespace identstrip::ui {

// The program's two standard dialogs. The main window's tests replace them
// with scripted fakes.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The open-file chooser. True when the user confirmed a file, whose full
  // path (cut to 254 characters) is then in `target`; otherwise `target` is
  // left exactly as it was. `filter` alternates descriptions and patterns,
  // separated by "|".
  virtual bool ChooseFile(std::string_view title, std::string_view filter, std::string& target) = 0;

  // The stop-icon message box with one "OK" button; "|" starts a new line.
  // Returns the button pressed (1 for "OK").
  virtual int ShowMessage(std::string_view text, std::string_view caption) = 0;
};

}  // namespace identstrip::ui
