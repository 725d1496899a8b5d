#include "ui/toolkit/win32/win32_toolkit.h"

#include <string>

#include "ui/toolkit/win32/win32_api.h"
#include "ui/toolkit/win32/win32_window.h"

namespace identstrip::ui::win32 {
namespace {

class Win32Toolkit final : public Toolkit {
 public:
  Win32Toolkit() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }

  std::unique_ptr<Window> CreateWindow(const WindowDefinition& definition,
                                       std::span<const BoundVariable> variables) override {
    return Win32Window::Create(definition, variables);
  }
};

}  // namespace

std::unique_ptr<Toolkit> CreateWin32Toolkit() {
  return std::make_unique<Win32Toolkit>();
}

void ReportStartFailure(std::string_view text, std::string_view caption) {
  const std::string shown_text(text);
  const std::string shown_caption(caption);
  MessageBoxA(nullptr, shown_text.c_str(), shown_caption.c_str(), MB_OK | MB_ICONSTOP);
}

}  // namespace identstrip::ui::win32
