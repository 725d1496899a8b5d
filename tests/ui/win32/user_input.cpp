#include "tests/ui/win32/user_input.h"

#include <cstring>
#include <vector>

namespace identstrip::ui::testing {
namespace {

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

void Send(std::vector<INPUT>& inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(KeyInput(key, false));
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    inputs.push_back(KeyInput(*key, true));
  }
  Send(inputs);
}

void PressKey(WORD key) {
  PressKeys({key});
}

void TypeText(std::string_view text) {
  for (const char c : text) {
    const SHORT scan = VkKeyScanA(c);
    const WORD key = LOBYTE(scan);
    if (HIBYTE(scan) & 1) {
      PressKeys({VK_SHIFT, key});
    } else {
      PressKey(key);
    }
  }
}

void ClickAt(POINT point) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = MulDiv(point.x, 65535, width - 1);
  move.mi.dy = MulDiv(point.y, 65535, height - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  INPUT down{};
  down.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  INPUT up{};
  up.type = INPUT_MOUSE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  std::vector<INPUT> inputs{move, down, up};
  Send(inputs);
}

void ClickOn(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void SetClipboardText(HWND owner, std::string_view text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (memory != nullptr) {
    auto* copy = static_cast<char*>(GlobalLock(memory));
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
  }
  CloseClipboard();
}

}  // namespace identstrip::ui::testing
