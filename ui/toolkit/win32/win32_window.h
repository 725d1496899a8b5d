#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ui/toolkit/dialog_units.h"
#include "ui/toolkit/event_queue.h"
#include "ui/toolkit/toolkit.h"
#include "ui/toolkit/win32/win32_api.h"

namespace identstrip::ui::win32 {

// A window of the toolkit layer made of Win32 controls: one top-level window
// with a child control per definition, laid out in dialog units of its
// measured font. The window procedure turns messages into the layer's events
// and queues them; NextEvent hands them out one at a time and runs the
// message loop, through the dialog manager for Tab, Enter and Esc, only while
// none is queued.
class Win32Window final : public Window {
 public:
  // Nothing when the system refuses the window or one of its controls.
  static std::unique_ptr<Win32Window> Create(const WindowDefinition& definition,
                                             std::span<const BoundVariable> variables);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  void Open() override;
  void Close() override;
  void Redisplay(int control) override;
  void RedisplayAll() override;
  void Focus(int control) override;
  int FocusedControl() const override;
  void SetEnabled(int control, bool enabled) override;
  void SetVisible(int control, bool visible) override;
  void SetTimerPeriod(int hundredths) override;
  void Post(int private_number) override;
  Event NextEvent() override;
  std::optional<std::string> RunOpenFileDialog(const OpenFileRequest& request) override;
  void RunStopMessageBox(std::string_view text, std::string_view caption) override;

  // Backend-specific access for the backend's tests and tools.
  HWND Handle() const { return window_; }
  HWND ControlHandle(int control) const;  // nullptr for an unknown number
  HFONT Font() const { return font_; }
  BaseUnits MeasuredUnits() const { return base_; }
  int BeepCount() const { return beeps_; }
  // Dispatches every message waiting now, as the loop would, without waiting.
  void DispatchWaitingMessages();
  // Hands out, as NextEvent would, every event queued so far, without waiting.
  std::vector<Event> TakeQueuedEvents();

 private:
  struct Control {
    Win32Window* owner;
    ControlDefinition definition;
    HWND handle = nullptr;
    const BoundVariable* variable = nullptr;
    WNDPROC original = nullptr;  // the control class's procedure, before ours
    bool hot = false;            // flat buttons: the mouse is over it
  };

  Win32Window(const WindowDefinition& definition, std::span<const BoundVariable> variables);
  bool Build(const WindowDefinition& definition);
  bool CreateFrame(const WindowDefinition& definition);
  bool CreateControl(Control& control);

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK ControlProcedure(HWND handle, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleWindowMessage(UINT message, WPARAM w, LPARAM l);
  LRESULT HandleControlMessage(Control& control, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleEntryMessage(Control& control, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleButtonMessage(Control& control, UINT message, WPARAM w, LPARAM l);
  void HandleCommand(WPARAM w, LPARAM l);
  void HandleActivation(WPARAM w);
  void HandleSize(WPARAM w);
  void MoveFocusInTabOrder(bool backwards);
  void DrawButton(const DRAWITEMSTRUCT& item);
  void Dispatch(MSG& message);

  Control* Find(int control);
  const Control* Find(int control) const;
  Control* FindByHandle(HWND handle);
  const Control* FindByHandle(HWND handle) const;
  static bool CanTakeFocus(const Control& control);
  Control* NextFocusable(const Control& from, bool wrap);
  void GiveFocus(HWND handle);
  void InvalidateDefaultButton();
  bool IsTextPushButton(const Control& control) const;

  void Beep();
  void CommitEntry(const Control& control);
  void CommitModifiedEntries();
  void Press(int control);

  std::vector<BoundVariable> variables_;
  std::vector<Control> controls_;  // never grows after creation: controls point into it
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  BaseUnits base_{};
  SIZE reported_size_{};
  HWND saved_focus_ = nullptr;  // the control to get the focus back on activation
  EventQueue queue_;
  int timer_period_ = 0;
  bool opened_ = false;
  bool closed_ = false;
  bool minimized_ = false;
  int beeps_ = 0;
};

}  // namespace identstrip::ui::win32
