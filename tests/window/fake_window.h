#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"
#include "ui/toolkit/toolkit.h"

namespace identstrip::ui::testing {

// One step of what the user and the system do to the window, handed to the
// program one event at a time.
struct Action {
  std::function<void()> run;  // runs between two events, e.g. typing into an entry
};
struct TicksWhileArmed {};  // timer events for as long as the program keeps the timer armed
struct Step {
  Step(Event e) : event(e) {}
  Step(Action a) : action(std::move(a.run)) {}
  Step(TicksWhileArmed) : ticks_while_armed(true) {}
  std::optional<Event> event;
  std::function<void()> action;
  bool ticks_while_armed = false;
};

// The screen behind a fake window: it remembers what every control shows, and
// writes every request of the program and every event it was given into one
// transcript, in the order they happened. It outlives the window, so a test
// can look at it after the program has returned.
class FakeScreen {
 public:
  FakeScreen();

  std::vector<std::string> transcript;
  std::deque<Step> script;
  // Answers of the file chooser: a path to confirm, or nothing to cancel.
  std::deque<std::optional<std::string>> chooser_answers;
  bool refuse_window = false;

  // What the program bound at creation; once the window is gone, copies of
  // the values they had last.
  std::string* input_name = nullptr;
  std::string* output_name = nullptr;
  const std::uint8_t* shown_percent = nullptr;

  bool created = false;
  bool open = false;
  bool destroyed = false;
  int timer_period = 0;
  int focus = 0;

  // What a control shows: the text of an entry, the percentage of the bar.
  std::string Shown(int control) const;
  bool Enabled(int control) const { return controls_.at(control).enabled; }
  bool Visible(int control) const { return controls_.at(control).visible; }
  // The user types into an entry, which stores the text into its variable
  // when it loses the focus (before the next event).
  void Type(int control, const std::string& text);

  // The transcript lines that follow the n-th (from 1) line equal to
  // `event_line`, up to the next event.
  std::vector<std::string> RequestsAfter(const std::string& event_line, int occurrence = 1) const;
  // Every transcript line from the first one equal to `line` on.
  std::vector<std::string> From(const std::string& line) const;

  // Used by the fake window and dialogs.
  void Bind(std::span<const BoundVariable> variables);
  void Unbind();
  void Log(std::string line) { transcript.push_back(std::move(line)); }
  void Redisplay(int control);
  void SetEnabled(int control, bool enabled) { controls_.at(control).enabled = enabled; }
  void SetVisible(int control, bool visible) { controls_.at(control).visible = visible; }
  void Focus(int control);
  void Post(int number) { posted_.push_back(number); }
  Event NextEvent();

 private:
  struct ControlState {
    const ControlDefinition* definition;
    bool enabled = true;
    bool visible = true;
    std::string shown;
  };
  std::string BoundValue(const ControlDefinition& control) const;
  bool CanTakeFocus(int control) const;

  std::map<int, ControlState> controls_;
  std::deque<int> posted_;
  std::vector<BoundVariable> variables_;
  std::string last_input_name_, last_output_name_;
  std::uint8_t last_shown_percent_ = 0;
  int events_handed_out_ = 0;
};

// "?NEWFILENAME" for NEWFILENAME.
std::string ControlName(int control);
// "> pressed ?BUTTON:START", as the transcript shows the event.
std::string Describe(const Event& event);

Event Opened();
Event Sized();
Event FocusGained();
Event Timer();
Event CloseRequest();
Event Pressed(int control);
Event Accepted(int control);
Event Posted(int number);

class FakeToolkit final : public Toolkit {
 public:
  explicit FakeToolkit(FakeScreen& screen) : screen_(screen) {}
  std::unique_ptr<Window> CreateWindow(const WindowDefinition& definition,
                                       std::span<const BoundVariable> variables) override;
  const WindowDefinition* definition = nullptr;
  Window* window = nullptr;

 private:
  FakeScreen& screen_;
};

// The two dialogs, answering from the screen's chooser answers; each call is
// written into the transcript.
class ScriptedDialogs final : public Dialogs {
 public:
  explicit ScriptedDialogs(FakeScreen& screen) : screen_(screen) {}
  bool ChooseFile(std::string_view title, std::string_view filter, std::string& target) override;
  int ShowMessage(std::string_view text, std::string_view caption) override;

 private:
  FakeScreen& screen_;
};

}  // namespace identstrip::ui::testing
