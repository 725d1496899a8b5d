#include "ui/main_window_definition.h"

#include <array>

namespace identstrip::ui {
namespace {

constexpr Color NAVY{0, 0, 128};

// Places and sizes in dialog units, as the window has always had them: the
// one-unit differences between the two rows are deliberate.
constexpr std::array<ControlDefinition, 10> CONTROLS{{
    {PROMPT1, "?PROMPT1", ControlKind::Prompt, "\"Old\" filename:", 10, 14, FROM_TEXT, FROM_TEXT},
    {OLDFILENAME, "?OLDFILENAME", ControlKind::Entry, "", 65, 14, 200, 10, BOUND_INPUT_NAME, false,
     ButtonRole::Normal, std::nullopt, PATH_CAPACITY},
    {LOOKUPFILE, "?LOOKUPFILE", ControlKind::PictureButton, "", 269, 12, 12, 12},
    {STRING2, "?STRING2", ControlKind::Text, "\"New\" filename", 10, 31, FROM_TEXT, FROM_TEXT},
    {NEWFILENAME, "?NEWFILENAME", ControlKind::Entry, "", 64, 30, 200, 10, BOUND_OUTPUT_NAME, false,
     ButtonRole::Normal, std::nullopt, PATH_CAPACITY},
    {LOOKUPFILE_2, "?LOOKUPFILE:2", ControlKind::PictureButton, "", 269, 29, 12, 12},
    {STRING1, "?STRING1", ControlKind::Text, "Converting:", 12, 52, FROM_TEXT, FROM_TEXT,
     NO_BINDING, true},
    {PROGRESS_THERMOMETER, "?PROGRESS:THERMOMETER", ControlKind::ProgressBar, "", 67, 52, 200, 8,
     BOUND_SHOWN_PERCENT, true},
    {BUTTON_START, "?BUTTON:START", ControlKind::Button, "Convert File", 85, 72, 60, 14, NO_BINDING,
     false, ButtonRole::Default, NAVY},
    {BUTTON_CANCEL, "?BUTTON:CANCEL", ControlKind::Button, "Cancel/Exit", 151, 72, 60, 14,
     NO_BINDING, false, ButtonRole::Close},
}};

constexpr WindowDefinition WINDOW{
    "Strip IDENTs from TXD/TXA", 296, 89, {"MS Sans Serif", 8, 400}, 1, CONTROLS,
};

}  // namespace

const WindowDefinition& MainWindowDefinition() {
  return WINDOW;
}

}  // namespace identstrip::ui
