// Reads a window of another program as the end-to-end tests need it, where
// no accessibility bus sees Windows programs under Wine:
//   window_probe show CAPTION      the window and each of its controls, one a line
//   window_probe picture CAPTION FILE.png   a picture of the window, frame included
// Exits with 1 when no top-level window has that caption.
#define NOMINMAX
#include <windows.h>
// gdiplus.h needs the full windows.h and its own min and max.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
#include <objidl.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string TextOf(HWND window) {
  char text[1024] = {};
  // Another program's controls answer WM_GETTEXT across the process border.
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

// window <tab> left top width height <tab> active <tab> caption
// control <tab> id <tab> class <tab> visible <tab> enabled <tab> focused <tab> text
int Show(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  std::printf("window\t%ld %ld %ld %ld\t%d\t%s\n", rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top, info.hwndActive == window ? 1 : 0, TextOf(window).c_str());
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  const HWND focus = FocusOf(window);
  for (HWND child : children) {
    RECT place{};
    GetWindowRect(child, &place);
    std::printf("control\t%d\t%s\t%d\t%d\t%d\t%ld %ld %ld %ld\t%s\n", GetDlgCtrlID(child),
                ClassOf(child).c_str(), IsWindowVisible(child) ? 1 : 0,
                IsWindowEnabled(child) ? 1 : 0, child == focus ? 1 : 0, place.left, place.top,
                place.right - place.left, place.bottom - place.top, TextOf(child).c_str());
  }
  return 0;
}

std::wstring Widened(std::string_view text) {
  std::wstring wide(text.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(std::max(length, 0)));
  return wide;
}

// The screen where the window is, so whatever the window system draws around
// it is in the picture too.
int Picture(HWND window, const char* file) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 2;
  // The PNG encoder of GDI+.
  const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  int result = 2;
  {
    Gdiplus::Bitmap picture(bitmap, nullptr);
    if (picture.Save(Widened(file).c_str(), &png, nullptr) == Gdiplus::Ok) result = 0;
  }
  Gdiplus::GdiplusShutdown(token);
  DeleteObject(bitmap);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc >= 3 ? argv[1] : "";
  if (!((command == "show" && argc == 3) || (command == "picture" && argc == 4))) {
    std::fprintf(stderr, "usage: window_probe show CAPTION | picture CAPTION FILE.png\n");
    return 2;
  }
  HWND window = FindWindowA(nullptr, argv[2]);
  if (window == nullptr) return 1;
  const int result = command == "show" ? Show(window) : Picture(window, argv[3]);
  std::fflush(stdout);
  return result;
}
