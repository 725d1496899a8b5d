// The window's messages: the window procedure, the procedure that sees the
// entries' and buttons' messages before their own classes do, and the
// owner-drawn buttons' painting.
#include <algorithm>
#include <string>

#include "ui/toolkit/win32/win32_controls.h"
#include "ui/toolkit/win32/win32_entry.h"
#include "ui/toolkit/win32/win32_painting.h"
#include "ui/toolkit/win32/win32_window.h"

namespace identstrip::ui::win32 {

LRESULT CALLBACK Win32Window::WindowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    // The window's first message brings the object it belongs to.
    auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
    return DefWindowProcA(window, message, w, l);
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, w, l);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcA(window, message, w, l);
  }
  return self->HandleWindowMessage(message, w, l);
}

LRESULT Win32Window::HandleWindowMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      HandleCommand(w, l);
      return 0;
    case WM_DRAWITEM:
      DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
      return TRUE;
    case WM_CLOSE:
      // Only Close() closes the window; every other close is a request.
      if (!closed_) queue_.Push(EventKind::CloseRequest);
      return 0;
    case WM_TIMER:
      if (w == TIMER_ID && timer_period_ > 0 && !closed_) queue_.PushTimer();
      return 0;
    case PRIVATE_MESSAGE:
      if (!closed_) queue_.Push(EventKind::Private, 0, static_cast<int>(w));
      return 0;
    case WM_ACTIVATE:
      HandleActivation(w);
      return 0;
    case WM_SETFOCUS:
      if (saved_focus_ != nullptr && IsWindowEnabled(saved_focus_)) SetFocus(saved_focus_);
      return 0;
    case WM_SIZE:
      HandleSize(w);
      return 0;
    case DM_GETDEFID: {
      auto found = std::find_if(controls_.begin(), controls_.end(), [](const Control& control) {
        return control.definition.role == ButtonRole::Default;
      });
      if (found == controls_.end()) return 0;
      return MAKELRESULT(CONTROL_ID_BASE + found->definition.number, DC_HASDEFID);
    }
    case WM_NEXTDLGCTL:
      if (l != 0) {
        if (const Control* control = FindByHandle(reinterpret_cast<HWND>(w))) {
          GiveFocus(control->handle);
        }
      } else {
        MoveFocusInTabOrder(w != 0);
      }
      return 0;
    default:
      return DefWindowProcA(window_, message, w, l);
  }
}

void Win32Window::HandleCommand(WPARAM w, LPARAM l) {
  if (closed_) return;
  const int id = LOWORD(w);
  const int code = HIWORD(w);
  // The dialog manager's answer to Esc.
  if (id == IDCANCEL && FindByHandle(reinterpret_cast<HWND>(l)) == nullptr) {
    queue_.Push(EventKind::CloseRequest);
    return;
  }
  Control* control = Find(id - CONTROL_ID_BASE);
  if (control == nullptr) return;
  if (control->definition.kind == ControlKind::Entry && code == EN_KILLFOCUS) {
    CommitEntry(*control);
  } else if (IsButton(control->definition.kind)) {
    // A second quick click on an owner-drawn button comes as a double click.
    const bool double_click = code == BN_DOUBLECLICKED && IsOwnerDrawn(control->definition);
    if (code == BN_CLICKED || double_click) Press(control->definition.number);
  }
}

void Win32Window::HandleActivation(WPARAM w) {
  if (LOWORD(w) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (FindByHandle(focus) != nullptr) saved_focus_ = focus;
    return;
  }
  const bool minimized = HIWORD(w) != 0;
  if (!minimized) {
    // The focus comes back where it was, not to the window itself.
    if (saved_focus_ != nullptr && IsWindowEnabled(saved_focus_) && IsWindowVisible(saved_focus_)) {
      SetFocus(saved_focus_);
    } else {
      SetFocus(window_);
    }
  }
  if (opened_ && !closed_) queue_.Push(EventKind::FocusGained);
}

void Win32Window::HandleSize(WPARAM w) {
  if (!opened_ || closed_) return;
  if (w == SIZE_MINIMIZED) {
    minimized_ = true;
    return;
  }
  const SIZE size = ClientSize(window_);
  const bool changed = size.cx != reported_size_.cx || size.cy != reported_size_.cy;
  if (changed || minimized_) {
    reported_size_ = size;
    queue_.Push(EventKind::Sized);
  }
  minimized_ = false;
}

void Win32Window::MoveFocusInTabOrder(bool backwards) {
  HWND focus = GetFocus();
  HWND next = nullptr;
  if (FindByHandle(focus) != nullptr) {
    next = GetNextDlgTabItem(window_, focus, backwards ? TRUE : FALSE);
  } else {
    next = GetNextDlgTabItem(window_, nullptr, FALSE);
  }
  const Control* control = FindByHandle(next);
  if (control == nullptr) return;
  GiveFocus(control->handle);
  // Tabbing into an entry selects its text, as in every dialog of the system.
  if (control->definition.kind == ControlKind::Entry) {
    SendMessageA(control->handle, EM_SETSEL, 0, -1);
  }
}

LRESULT CALLBACK Win32Window::ControlProcedure(HWND handle, UINT message, WPARAM w, LPARAM l) {
  auto* control = reinterpret_cast<Control*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
  if (control == nullptr) return DefWindowProcA(handle, message, w, l);
  return control->owner->HandleControlMessage(*control, message, w, l);
}

LRESULT Win32Window::HandleControlMessage(Control& control, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCDESTROY) {
    const WNDPROC original = control.original;
    HWND handle = control.handle;
    SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
    control.handle = nullptr;
    return CallWindowProcA(original, handle, message, w, l);
  }
  if (control.definition.kind == ControlKind::Entry) {
    return HandleEntryMessage(control, message, w, l);
  }
  return HandleButtonMessage(control, message, w, l);
}

LRESULT Win32Window::HandleEntryMessage(Control& control, UINT message, WPARAM w, LPARAM l) {
  const std::size_t capacity = control.definition.capacity;
  if (capacity > 0 && !closed_) {
    switch (message) {
      case WM_CHAR:
        if (InsertsCharacter(w) && WouldPassCapacity(control.handle, capacity, 1)) {
          Beep();
          return 0;
        }
        break;
      case WM_PASTE:
        if (const auto pasted = PastedLength(control.handle)) {
          if (WouldPassCapacity(control.handle, capacity, *pasted)) {
            Beep();
            return 0;
          }
        }
        break;
      case WM_KEYDOWN:
        // Shift+Insert pastes without a WM_PASTE of its own; it is made one,
        // so that the same check refuses it.
        if (w == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0) {
          SendMessageA(control.handle, WM_PASTE, 0, 0);
          return 0;
        }
        break;
      default:
        break;
    }
  }
  return CallWindowProcA(control.original, control.handle, message, w, l);
}

LRESULT Win32Window::HandleButtonMessage(Control& control, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_GETDLGCODE: {
      // Enter presses the button that has the focus, whichever it is; the
      // dialog manager asks the focused control whether it is that button.
      const LRESULT code = CallWindowProcA(control.original, control.handle, message, w, l);
      const LRESULT own = GetFocus() == control.handle ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
      return (code & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) | DLGC_BUTTON | own;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      // A focused push button takes the default look from the default button.
      if (IsTextPushButton(control)) {
        const LRESULT result = CallWindowProcA(control.original, control.handle, message, w, l);
        SendMessageA(control.handle, BM_SETSTYLE,
                     message == WM_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        InvalidateDefaultButton();
        return result;
      }
      InvalidateDefaultButton();
      break;
    }
    case WM_MOUSEMOVE:
      if (control.definition.kind == ControlKind::PictureButton && !control.hot) {
        control.hot = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, control.handle, 0};
        TrackMouseEvent(&track);
        InvalidateRect(control.handle, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      if (control.hot) {
        control.hot = false;
        InvalidateRect(control.handle, nullptr, FALSE);
      }
      break;
    default:
      break;
  }
  return CallWindowProcA(control.original, control.handle, message, w, l);
}

bool Win32Window::IsTextPushButton(const Control& control) const {
  return control.definition.kind == ControlKind::Button && !IsOwnerDrawn(control.definition);
}

void Win32Window::InvalidateDefaultButton() {
  for (const Control& control : controls_) {
    if (control.definition.role == ButtonRole::Default && control.handle != nullptr) {
      InvalidateRect(control.handle, nullptr, FALSE);
    }
  }
}

void Win32Window::DrawButton(const DRAWITEMSTRUCT& item) {
  const Control* control = FindByHandle(item.hwndItem);
  if (control == nullptr) return;
  const Control* focused = FindByHandle(GetFocus());
  const bool other_button_focused =
      focused != nullptr && focused != control && IsButton(focused->definition.kind);
  ButtonLook look{};
  look.pushed = (item.itemState & ODS_SELECTED) != 0;
  look.focused = (item.itemState & ODS_FOCUS) != 0;
  look.disabled = (item.itemState & ODS_DISABLED) != 0;
  look.hot = control->hot;
  look.default_frame = control->definition.role == ButtonRole::Default && !other_button_focused;
  look.show_focus = (item.itemState & ODS_NOFOCUSRECT) == 0;
  if (control->definition.kind == ControlKind::PictureButton) {
    PaintPictureButton(item.hDC, item.rcItem, look);
  } else {
    const std::string text(control->definition.text);
    PaintTextButton(item.hDC, item.rcItem, text.c_str(), font_,
                    ColorOf(control->definition.text_color), look);
  }
}

}  // namespace identstrip::ui::win32
