#pragma once

#include "ui/toolkit/toolkit.h"

namespace identstrip::ui {

// The main window's controls, by number.
enum MainWindowControl : int {
  PROMPT1 = 1,
  OLDFILENAME = 2,
  LOOKUPFILE = 3,
  STRING2 = 4,
  NEWFILENAME = 5,
  LOOKUPFILE_2 = 6,
  STRING1 = 7,
  PROGRESS_THERMOMETER = 8,
  BUTTON_START = 9,
  BUTTON_CANCEL = 10,
};

// Indices of the variables bound when the main window is created.
enum MainWindowVariable : int {
  BOUND_INPUT_NAME = 0,
  BOUND_OUTPUT_NAME = 1,
  BOUND_SHOWN_PERCENT = 2,
};

// Longest path an entry edits, in characters.
inline constexpr std::size_t PATH_CAPACITY = 254;

const WindowDefinition& MainWindowDefinition();

}  // namespace identstrip::ui
