#pragma once

// windows.h as the window backend uses it, with the common controls and the
// common dialogs, without the min and max macros. Its CreateWindow and
// SetCurrentDirectory macros would rename Toolkit::CreateWindow and
// FileSystem::SetCurrentDirectory wherever they are seen, so they go.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The other headers need windows.h first.
#include <commctrl.h>
#include <commdlg.h>

#undef CreateWindow
#undef SetCurrentDirectory
