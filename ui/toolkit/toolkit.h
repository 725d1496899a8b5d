#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The window model the program is written against: a window made from a
// definition (plain data), controls bound to the program's variables, and
// events pulled one at a time. Backends (Qt here; native Win32 later) are the
// only code that includes a platform toolkit.
namespace identstrip::ui {

enum class ControlKind : std::uint8_t {
  Prompt,         // label that hands the focus on to the next control that can take it
  Text,           // plain label
  Entry,          // single-line text entry bound to a text variable
  PictureButton,  // flat push button that shows the open-folder picture and no text
  Button,         // push button with a text
  ProgressBar,    // horizontal bar, range 0 to 100, bound to a number variable
};

enum class ButtonRole : std::uint8_t {
  Normal,
  Default,  // Enter in an entry presses it
  Close,    // pressing it makes the window's close request, and no pressed event
};

struct Color {
  std::uint8_t red, green, blue;
};

// Width or height of a label that takes its size from its text.
inline constexpr int FROM_TEXT = -1;
inline constexpr int NO_BINDING = -1;

struct ControlDefinition {
  int number;             // 1, 2, ... in creation order; identifies the control
  std::string_view name;  // e.g. "?OLDFILENAME"
  ControlKind kind;
  std::string_view text;
  // Place and size in dialog units of the window font, from the top-left
  // corner of the client area.
  int left, top, width, height;
  int bound_variable = NO_BINDING;  // index into the variables given at creation
  bool hidden_at_opening = false;
  ButtonRole role = ButtonRole::Normal;
  std::optional<Color> text_color = std::nullopt;
  std::size_t capacity = 0;  // entries: the longest text they edit, in bytes
};

struct FontDefinition {
  std::string_view family;
  int point_size;
  int weight;  // 400 is normal
};

struct WindowDefinition {
  std::string_view caption;
  int client_width, client_height;  // dialog units
  FontDefinition font;
  int timer_period;  // hundredths of a second; the timer runs from creation
  std::span<const ControlDefinition> controls;
};

// A text variable (an entry edits at most its definition's capacity) or a
// percentage shown by a progress bar.
using BoundVariable = std::variant<std::string*, const std::uint8_t*>;

enum class EventKind : std::uint8_t {
  Opened,        // the window has been opened
  Sized,         // right after opening, and when the size changes while not minimised
  FocusGained,   // the window has become the active window
  Timer,         // the window's timer fell due (at most one is ever pending)
  CloseRequest,  // close box, system menu Close, Alt+F4, Esc, or a Close-role button
  Pressed,       // a button was clicked or activated from the keyboard
  Accepted,      // an entry was completed after its text had changed
  Private,       // an event the window posted to itself
};

struct Event {
  EventKind kind;
  int control = 0;         // the control the event concerns; 0 for window events
  int private_number = 0;  // for EventKind::Private
};

struct FileTypeEntry {
  std::string description;
  std::string pattern;
};

// An open-kind file chooser: only an existing file can be confirmed, only one,
// no default extension, the first type entry selected.
struct OpenFileRequest {
  std::string title;
  std::vector<FileTypeEntry> types;
  std::string initial_folder;
  std::string initial_name;
};

class Window {
 public:
  virtual ~Window() = default;

  virtual void Open() = 0;
  virtual void Close() = 0;

  // A control shows its bound variable as of its last redisplay.
  virtual void Redisplay(int control) = 0;
  virtual void RedisplayAll() = 0;

  // Giving the focus to a prompt passes it on to the next control that can take it.
  virtual void Focus(int control) = 0;
  // The control that has the keyboard focus, or 0.
  virtual int FocusedControl() const = 0;
  virtual void SetEnabled(int control, bool enabled) = 0;
  virtual void SetVisible(int control, bool visible) = 0;

  // In hundredths of a second, counted from this call; 0 stops the timer.
  virtual void SetTimerPeriod(int hundredths) = 0;
  virtual void Post(int private_number) = 0;

  // Waits for the next event and returns it. Text typed into an entry has
  // reached its variable before the event of the button pressed after it.
  virtual Event NextEvent() = 0;

  // Modal dialogs owned by this window. While one is open no event of the
  // window is handed out; a timer that fell due meanwhile comes once, after.
  // Returns the chosen full path, or nothing when cancelled or not shown.
  virtual std::optional<std::string> RunOpenFileDialog(const OpenFileRequest& request) = 0;
  virtual void RunStopMessageBox(std::string_view text, std::string_view caption) = 0;
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Creates every control in its numbered order; hidden ones stay hidden.
  virtual std::unique_ptr<Window> CreateWindow(const WindowDefinition& definition,
                                               std::span<const BoundVariable> variables) = 0;
};

}  // namespace identstrip::ui
