#pragma once

// windows.h as the window backend uses it (see conversion/win32/windows_api.h),
// with the common controls and the common dialogs. Its CreateWindow macro would
// rename Toolkit::CreateWindow wherever it is seen, so it goes.
#include "conversion/win32/windows_api.h"
// The other headers need windows.h first.
#include <commctrl.h>
#include <commdlg.h>

#undef CreateWindow
