#pragma once

#include <cstddef>
#include <optional>

#include "ui/toolkit/win32/win32_api.h"

// The entries' length limit, checked before an edit reaches the EDIT control,
// so that a keystroke or paste that would pass it is refused whole.
namespace identstrip::ui::win32 {

// Whether replacing the entry's selection with `inserted` characters would
// make its text longer than `capacity`.
bool WouldPassCapacity(HWND entry, std::size_t capacity, std::size_t inserted);

// How many characters a paste into a single-line entry inserts: the
// clipboard's text up to its first line break. Nothing when the clipboard
// holds no text or cannot be opened.
std::optional<std::size_t> PastedLength(HWND entry);

// A character message that inserts a character (not a control key).
bool InsertsCharacter(WPARAM character);

}  // namespace identstrip::ui::win32
