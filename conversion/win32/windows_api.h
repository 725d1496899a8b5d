#pragma once

// windows.h as the program uses it: without the rarely used parts and without
// the min and max macros. Its SetCurrentDirectory macro would rename
// FileSystem::SetCurrentDirectory in every file that sees it, so it goes.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef SetCurrentDirectory
