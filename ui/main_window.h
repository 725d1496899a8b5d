#pragma once

#include <functional>
#include <memory>

#include "conversion/file_system.h"
#include "ui/dialogs.h"
#include "ui/toolkit/toolkit.h"

namespace identstrip::ui {

// The private event the window posts to itself when it has been sized; the
// full redisplay is made when it arrives.
inline constexpr int DEFERRED_REFRESH_EVENT = 1023;

// Makes the two standard dialogs, owned by the window just created.
using DialogsFactory = std::function<std::unique_ptr<Dialogs>(Window&)>;

// Opens the main window and runs it until it is closed: proposes the output
// name when an input file is chosen, checks both names and runs the conversion
// on the window's timer when "Convert File" is pressed. Returns false only when
// the toolkit could not create the window; a closed window is a normal end.
bool RunMainWindow(Toolkit& toolkit, FileSystem& file_system, const DialogsFactory& make_dialogs);

}  // namespace identstrip::ui
