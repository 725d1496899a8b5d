#include "ui/toolkit/win32/win32_window.h"

#include <algorithm>

#include "ui/toolkit/win32/resource_ids.h"
#include "ui/toolkit/win32/win32_controls.h"
#include "ui/toolkit/win32/win32_dialogs.h"

namespace identstrip::ui::win32 {
namespace {

constexpr char WINDOW_CLASS[] = "IdentstripWindow";

constexpr DWORD FRAME_STYLE =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD FRAME_EX_STYLE = WS_EX_CONTROLPARENT;

HICON ApplicationIcon(int metric_x, int metric_y) {
  HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDENTSTRIP_APPLICATION_ICON),
                           IMAGE_ICON, GetSystemMetrics(metric_x), GetSystemMetrics(metric_y),
                           LR_DEFAULTCOLOR);
  // Test programs carry no icon of their own.
  return icon != nullptr ? static_cast<HICON>(icon) : LoadIconA(nullptr, IDI_APPLICATION);
}

bool RegisterWindowClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hIcon = ApplicationIcon(SM_CXICON, SM_CYICON);
    window_class.hIconSm = ApplicationIcon(SM_CXSMICON, SM_CYSMICON);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = WINDOW_CLASS;
    return RegisterClassExA(&window_class) != 0;
  }();
  return registered;
}

std::string Terminated(std::string_view text) {
  return std::string(text);
}

HFONT CreateWindowFont(const FontDefinition& definition) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const std::string family = Terminated(definition.family);
  return CreateFontA(-MulDiv(definition.point_size, dpi, 72), 0, 0, 0, definition.weight, FALSE,
                     FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, family.c_str());
}

struct FontMeasure {
  int letters_width = 0;
  int cell_height = 0;
};

FontMeasure Measure(HFONT font, std::string_view text) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  FontMeasure measure;
  SIZE size{};
  if (GetTextExtentPoint32A(screen, text.data(), static_cast<int>(text.size()), &size)) {
    measure.letters_width = size.cx;
  }
  TEXTMETRICA metrics{};
  if (GetTextMetricsA(screen, &metrics)) measure.cell_height = metrics.tmHeight;
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return measure;
}

const char* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Prompt:
    case ControlKind::Text:
      return "STATIC";
    case ControlKind::Entry:
      return "EDIT";
    case ControlKind::PictureButton:
    case ControlKind::Button:
      return "BUTTON";
    case ControlKind::ProgressBar:
      return PROGRESS_CLASSA;
  }
  return "STATIC";
}

DWORD StyleOf(const ControlDefinition& definition) {
  DWORD style = WS_CHILD | (definition.hidden_at_opening ? 0 : WS_VISIBLE);
  switch (definition.kind) {
    case ControlKind::Prompt:
    case ControlKind::Text:
      // No access-key markers: an "&" is a plain character.
      return style | SS_LEFT | SS_NOPREFIX;
    case ControlKind::Entry:
      return style | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    case ControlKind::PictureButton:
    case ControlKind::Button:
      return style | WS_TABSTOP | (IsOwnerDrawn(definition) ? BS_OWNERDRAW : BS_PUSHBUTTON);
    case ControlKind::ProgressBar:
      return style;  // segmented, the standard look
  }
  return style;
}

}  // namespace

std::unique_ptr<Win32Window> Win32Window::Create(const WindowDefinition& definition,
                                                 std::span<const BoundVariable> variables) {
  std::unique_ptr<Win32Window> window(new Win32Window(definition, variables));
  if (!window->Build(definition)) return nullptr;
  return window;
}

Win32Window::Win32Window(const WindowDefinition& definition,
                         std::span<const BoundVariable> variables)
    : variables_(variables.begin(), variables.end()) {
  controls_.reserve(definition.controls.size());
  for (const ControlDefinition& control : definition.controls) {
    const bool bound = control.bound_variable >= 0 &&
                       static_cast<std::size_t>(control.bound_variable) < variables_.size();
    controls_.push_back(
        {this, control, nullptr, bound ? &variables_[control.bound_variable] : nullptr});
  }
}

Win32Window::~Win32Window() {
  closed_ = true;
  if (window_ != nullptr) DestroyWindow(window_);
  if (font_ != nullptr) DeleteObject(font_);
}

bool Win32Window::Build(const WindowDefinition& definition) {
  font_ = CreateWindowFont(definition.font);
  if (font_ == nullptr) return false;
  const FontMeasure measure = Measure(font_, MEASURING_LETTERS);
  base_ = BaseUnitsOf(measure.letters_width, measure.cell_height);
  if (!RegisterWindowClass(&WindowProcedure) || !CreateFrame(definition)) return false;
  for (Control& control : controls_) {
    if (!CreateControl(control)) return false;
  }
  RedisplayAll();
  SetTimerPeriod(definition.timer_period);
  return true;
}

bool Win32Window::CreateFrame(const WindowDefinition& definition) {
  const PixelSize client = ClientPixels(definition, base_);
  RECT outer{0, 0, client.width, client.height};
  AdjustWindowRectEx(&outer, FRAME_STYLE, FALSE, FRAME_EX_STYLE);
  const PixelSize outer_size{outer.right - outer.left, outer.bottom - outer.top};
  RECT work{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  const PixelPoint place = CentredPlace({work.left, work.top, work.right, work.bottom}, outer_size);
  const std::string caption = Terminated(definition.caption);
  window_ = CreateWindowExA(FRAME_EX_STYLE, WINDOW_CLASS, caption.c_str(), FRAME_STYLE, place.x,
                            place.y, outer_size.width, outer_size.height, nullptr, nullptr,
                            GetModuleHandleA(nullptr), this);
  if (window_ == nullptr) return false;
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return true;
}

bool Win32Window::CreateControl(Control& control) {
  const ControlDefinition& definition = control.definition;
  const std::string text = Terminated(definition.text);
  const FontMeasure label = Measure(font_, definition.text);
  const PixelRect place =
      ControlPixels(definition, base_, {label.letters_width, label.cell_height});
  const DWORD ex_style = definition.kind == ControlKind::Entry ? WS_EX_CLIENTEDGE : 0;
  control.handle = CreateWindowExA(
      ex_style, ClassOf(definition.kind), text.c_str(), StyleOf(definition), place.left, place.top,
      place.width, place.height, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(CONTROL_ID_BASE + definition.number)),
      GetModuleHandleA(nullptr), nullptr);
  if (control.handle == nullptr) return false;
  SendMessageA(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

  if (definition.kind == ControlKind::Entry && definition.capacity > 0) {
    SendMessageA(control.handle, EM_LIMITTEXT, definition.capacity, 0);
  }
  if (definition.kind == ControlKind::ProgressBar) {
    SendMessageA(control.handle, PBM_SETRANGE32, 0, 100);
  }
  if (definition.kind == ControlKind::Entry || IsButton(definition.kind)) {
    // Our procedure sees the control's messages first: the entries' limit,
    // the buttons' answers to the dialog manager.
    SetWindowLongPtrA(control.handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
    control.original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        control.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProcedure)));
  }
  return true;
}

void Win32Window::Open() {
  if (opened_ || closed_) return;
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
  opened_ = true;
  reported_size_ = ClientSize(window_);
  queue_.Push(EventKind::Opened);
  queue_.Push(EventKind::Sized);
  // Becoming active while being shown came before the window was open.
  if (GetActiveWindow() == window_) queue_.Push(EventKind::FocusGained);
}

void Win32Window::Close() {
  if (closed_) return;
  closed_ = true;
  queue_.Clear();
  if (window_ != nullptr) {
    KillTimer(window_, TIMER_ID);
    DestroyWindow(window_);
  }
}

void Win32Window::Redisplay(int number) {
  const Control* control = Find(number);
  if (control == nullptr || control->variable == nullptr || control->handle == nullptr) return;
  if (control->definition.kind == ControlKind::Entry) {
    if (auto* const* text = std::get_if<std::string*>(control->variable)) {
      std::string shown = **text;
      const std::size_t capacity = control->definition.capacity;
      if (capacity > 0 && shown.size() > capacity) shown.resize(capacity);
      SetWindowTextA(control->handle, shown.c_str());
      SendMessageA(control->handle, EM_SETMODIFY, FALSE, 0);
      SendMessageA(control->handle, EM_SETSEL, 0, 0);
    }
  } else if (control->definition.kind == ControlKind::ProgressBar) {
    if (auto* const* percent = std::get_if<const std::uint8_t*>(control->variable)) {
      SendMessageA(control->handle, PBM_SETPOS, std::min<int>(**percent, 100), 0);
    }
  }
}

void Win32Window::RedisplayAll() {
  for (const Control& control : controls_) Redisplay(control.definition.number);
}

void Win32Window::Focus(int number) {
  Control* control = Find(number);
  if (control == nullptr) return;
  if (control->definition.kind == ControlKind::Prompt) control = NextFocusable(*control, false);
  if (control == nullptr || !CanTakeFocus(*control)) return;
  GiveFocus(control->handle);
}

// An inactive window keeps the focus for the moment it becomes active again,
// rather than taking the activation from whoever has it.
void Win32Window::GiveFocus(HWND handle) {
  saved_focus_ = handle;
  if (window_ != nullptr && GetActiveWindow() == window_) SetFocus(handle);
}

int Win32Window::FocusedControl() const {
  HWND focus = GetFocus();
  if (focus == nullptr || GetAncestor(focus, GA_ROOT) != window_) focus = saved_focus_;
  const Control* control = FindByHandle(focus);
  return control != nullptr ? control->definition.number : 0;
}

void Win32Window::SetEnabled(int number, bool enabled) {
  Control* control = Find(number);
  if (control == nullptr || control->handle == nullptr) return;
  const bool had_focus = GetFocus() == control->handle || saved_focus_ == control->handle;
  EnableWindow(control->handle, enabled ? TRUE : FALSE);
  // The system leaves the focus on a disabled control, where no key reaches
  // anything; it moves on to the next control instead.
  if (!enabled && had_focus) {
    if (Control* next = NextFocusable(*control, true)) GiveFocus(next->handle);
  }
}

void Win32Window::SetVisible(int number, bool visible) {
  Control* control = Find(number);
  if (control == nullptr || control->handle == nullptr) return;
  const bool had_focus = GetFocus() == control->handle || saved_focus_ == control->handle;
  ShowWindow(control->handle, visible ? SW_SHOWNA : SW_HIDE);
  if (!visible && had_focus) {
    if (Control* next = NextFocusable(*control, true)) GiveFocus(next->handle);
  }
}

void Win32Window::SetTimerPeriod(int hundredths) {
  // The period counts from this request, so a tick of the old period is void.
  queue_.DropTimer();
  timer_period_ = closed_ ? 0 : std::max(hundredths, 0);
  if (window_ == nullptr) return;
  if (timer_period_ > 0) {
    SetTimer(window_, TIMER_ID, static_cast<UINT>(timer_period_) * 10, nullptr);
  } else {
    KillTimer(window_, TIMER_ID);
  }
}

void Win32Window::Post(int private_number) {
  if (window_ != nullptr && !closed_) {
    PostMessageA(window_, PRIVATE_MESSAGE, static_cast<WPARAM>(private_number), 0);
  }
}

Event Win32Window::NextEvent() {
  while (queue_.Empty() && !closed_) {
    MSG message;
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      // Someone asked the thread to quit: the window is asked to close, and
      // the request is left for whoever runs the loop after us.
      PostQuitMessage(static_cast<int>(message.wParam));
      queue_.Push(EventKind::CloseRequest);
      break;
    }
    if (got < 0) break;
    Dispatch(message);
  }
  // A closed window has nothing more to say than that it is closed.
  if (queue_.Empty()) return {EventKind::CloseRequest};
  return queue_.Pop();
}

void Win32Window::Dispatch(MSG& message) {
  // A held key repeats; one press of Esc or Alt+F4 is one close request.
  const bool repeated = (message.lParam & (1L << 30)) != 0;
  if (repeated && ((message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) ||
                   (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4))) {
    return;
  }
  if (window_ != nullptr && !closed_ && IsDialogMessageA(window_, &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

void Win32Window::DispatchWaitingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

std::vector<Event> Win32Window::TakeQueuedEvents() {
  std::vector<Event> events;
  while (!queue_.Empty()) events.push_back(queue_.Pop());
  return events;
}

std::optional<std::string> Win32Window::RunOpenFileDialog(const OpenFileRequest& request) {
  if (window_ == nullptr || closed_) return std::nullopt;
  return win32::RunOpenFileDialog(window_, request);
}

void Win32Window::RunStopMessageBox(std::string_view text, std::string_view caption) {
  if (window_ == nullptr || closed_) return;
  win32::RunStopMessageBox(window_, text, caption);
}

HWND Win32Window::ControlHandle(int number) const {
  const Control* control = Find(number);
  return control != nullptr ? control->handle : nullptr;
}

void Win32Window::Beep() {
  ++beeps_;
  MessageBeep(MB_OK);
}

// Typed text reaches the bound variable, and the entry reports itself
// completed, only when it has changed since the last redisplay or commit.
void Win32Window::CommitEntry(const Control& control) {
  if (closed_ || control.handle == nullptr || control.definition.kind != ControlKind::Entry) return;
  if (SendMessageA(control.handle, EM_GETMODIFY, 0, 0) == 0) return;
  SendMessageA(control.handle, EM_SETMODIFY, FALSE, 0);
  if (control.variable != nullptr) {
    if (auto* const* text = std::get_if<std::string*>(control.variable)) {
      const int length = GetWindowTextLengthA(control.handle);
      std::string typed(static_cast<std::size_t>(length) + 1, '\0');
      const int copied = GetWindowTextA(control.handle, typed.data(), length + 1);
      typed.resize(static_cast<std::size_t>(std::max(copied, 0)));
      **text = std::move(typed);
    }
  }
  queue_.Push(EventKind::Accepted, control.definition.number);
}

void Win32Window::CommitModifiedEntries() {
  for (const Control& control : controls_) CommitEntry(control);
}

// A button's handler must see what was typed before it was pressed.
void Win32Window::Press(int number) {
  const Control* control = Find(number);
  if (control == nullptr || !CanTakeFocus(*control)) return;
  CommitModifiedEntries();
  queue_.PushPressed(control->definition);
}

Win32Window::Control* Win32Window::Find(int number) {
  auto found = std::find_if(controls_.begin(), controls_.end(), [number](const Control& control) {
    return control.definition.number == number;
  });
  return found != controls_.end() ? &*found : nullptr;
}

const Win32Window::Control* Win32Window::Find(int number) const {
  return const_cast<Win32Window*>(this)->Find(number);
}

Win32Window::Control* Win32Window::FindByHandle(HWND handle) {
  if (handle == nullptr) return nullptr;
  auto found = std::find_if(controls_.begin(), controls_.end(),
                            [handle](const Control& control) { return control.handle == handle; });
  return found != controls_.end() ? &*found : nullptr;
}

const Win32Window::Control* Win32Window::FindByHandle(HWND handle) const {
  return const_cast<Win32Window*>(this)->FindByHandle(handle);
}

// Enabled, not hidden, and of a kind that takes the focus; the window need not
// be shown yet.
bool Win32Window::CanTakeFocus(const Control& control) {
  if (control.handle == nullptr) return false;
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(control.handle, GWL_STYLE));
  return (style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

Win32Window::Control* Win32Window::NextFocusable(const Control& from, bool wrap) {
  const auto start = static_cast<std::size_t>(&from - controls_.data());
  const std::size_t count = controls_.size();
  const std::size_t steps = wrap ? count - 1 : count - start - 1;
  for (std::size_t step = 1; step <= steps; ++step) {
    Control& candidate = controls_[(start + step) % count];
    if (CanTakeFocus(candidate)) return &candidate;
  }
  return nullptr;
}

}  // namespace identstrip::ui::win32
