#include "ui/toolkit/win32/win32_entry.h"

#include <algorithm>
#include <cstring>

namespace identstrip::ui::win32 {

bool WouldPassCapacity(HWND entry, std::size_t capacity, std::size_t inserted) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(entry, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto length = static_cast<std::size_t>(GetWindowTextLengthA(entry));
  const std::size_t selected = end > start ? end - start : 0;
  return length - std::min(selected, length) + inserted > capacity;
}

std::optional<std::size_t> PastedLength(HWND entry) {
  if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(entry)) return std::nullopt;
  std::optional<std::size_t> length;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* text = static_cast<const char*>(GlobalLock(data))) {
      length = std::strcspn(text, "\r\n");
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return length;
}

bool InsertsCharacter(WPARAM character) {
  return character >= 0x20 && character != 0x7f;
}

}  // namespace identstrip::ui::win32
