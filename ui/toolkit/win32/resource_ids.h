#pragma once

// Resource numbers shared by the program's resource script and the window
// backend, which loads the application icon from the program's own module.
#define IDENTSTRIP_APPLICATION_ICON 1
