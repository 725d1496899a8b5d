#include "tests/window/fake_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/main_window_definition.h"

namespace identstrip::ui::testing {
namespace {

// Far more events than any test needs: a program that never stops asking is
// stopped with a close request.
constexpr int EVENT_LIMIT = 1'000'000;

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

class FakeWindow final : public Window {
 public:
  explicit FakeWindow(FakeScreen& screen) : screen_(screen) {}
  ~FakeWindow() override {
    screen_.Unbind();
    screen_.destroyed = true;
  }

  void Open() override {
    screen_.Log("open");
    screen_.open = true;
  }
  void Close() override {
    screen_.Log("close");
    screen_.open = false;
  }
  void Redisplay(int control) override {
    screen_.Redisplay(control);
    screen_.Log("redisplay " + ControlName(control) + " " + screen_.Shown(control));
  }
  void RedisplayAll() override {
    for (const auto& control : MainWindowDefinition().controls) screen_.Redisplay(control.number);
    screen_.Log("redisplay all");
  }
  void Focus(int control) override {
    screen_.Log("focus " + ControlName(control));
    screen_.Focus(control);
  }
  int FocusedControl() const override { return screen_.focus; }
  void SetEnabled(int control, bool enabled) override {
    screen_.Log((enabled ? "enable " : "disable ") + ControlName(control));
    screen_.SetEnabled(control, enabled);
  }
  void SetVisible(int control, bool visible) override {
    screen_.Log((visible ? "show " : "hide ") + ControlName(control));
    screen_.SetVisible(control, visible);
  }
  void SetTimerPeriod(int hundredths) override {
    screen_.Log("timer " + std::to_string(hundredths));
    screen_.timer_period = hundredths;
  }
  void Post(int private_number) override {
    screen_.Log("post " + std::to_string(private_number));
    screen_.Post(private_number);
  }
  Event NextEvent() override { return screen_.NextEvent(); }

  // The program opens its dialogs through ui::Dialogs, never directly.
  std::optional<std::string> RunOpenFileDialog(const OpenFileRequest&) override {
    ADD_FAILURE() << "the file chooser was opened past the Dialogs interface";
    return std::nullopt;
  }
  void RunStopMessageBox(std::string_view, std::string_view) override {
    ADD_FAILURE() << "a message box was opened past the Dialogs interface";
  }

 private:
  FakeScreen& screen_;
};

}  // namespace

std::string ControlName(int control) {
  for (const auto& definition : MainWindowDefinition().controls) {
    if (definition.number == control) return std::string(definition.name);
  }
  return "#" + std::to_string(control);
}

std::string Describe(const Event& event) {
  switch (event.kind) {
    case EventKind::Opened:
      return "> opened";
    case EventKind::Sized:
      return "> sized";
    case EventKind::FocusGained:
      return "> focus gained";
    case EventKind::Timer:
      return "> timer";
    case EventKind::CloseRequest:
      return "> close request";
    case EventKind::Pressed:
      return "> pressed " + ControlName(event.control);
    case EventKind::Accepted:
      return "> accepted " + ControlName(event.control);
    case EventKind::Private:
      return "> private " + std::to_string(event.private_number);
  }
  return "> ?";
}

Event Opened() {
  return {EventKind::Opened};
}
Event Sized() {
  return {EventKind::Sized};
}
Event FocusGained() {
  return {EventKind::FocusGained};
}
Event Timer() {
  return {EventKind::Timer};
}
Event CloseRequest() {
  return {EventKind::CloseRequest};
}
Event Pressed(int control) {
  return {EventKind::Pressed, control};
}
Event Accepted(int control) {
  return {EventKind::Accepted, control};
}
Event Posted(int number) {
  return {EventKind::Private, 0, number};
}

FakeScreen::FakeScreen() {
  for (const auto& control : MainWindowDefinition().controls) {
    controls_[control.number] = ControlState{&control, true, !control.hidden_at_opening, ""};
  }
}

void FakeScreen::Bind(std::span<const BoundVariable> variables) {
  variables_.assign(variables.begin(), variables.end());
  for (auto& [number, state] : controls_) state.shown = BoundValue(*state.definition);
}

void FakeScreen::Unbind() {
  if (input_name == nullptr || output_name == nullptr || shown_percent == nullptr) return;
  last_input_name_ = *input_name;
  last_output_name_ = *output_name;
  last_shown_percent_ = *shown_percent;
  input_name = &last_input_name_;
  output_name = &last_output_name_;
  shown_percent = &last_shown_percent_;
  variables_ = {input_name, output_name, shown_percent};
}

std::string FakeScreen::BoundValue(const ControlDefinition& control) const {
  if (control.bound_variable == NO_BINDING) return "";
  const auto index = static_cast<std::size_t>(control.bound_variable);
  if (index >= variables_.size()) return "<unbound>";
  const BoundVariable& variable = variables_[index];
  if (const auto* text = std::get_if<std::string*>(&variable)) return Quoted(**text);
  return std::to_string(*std::get<const std::uint8_t*>(variable));
}

std::string FakeScreen::Shown(int control) const {
  return controls_.at(control).shown;
}

void FakeScreen::Redisplay(int control) {
  auto& state = controls_.at(control);
  state.shown = BoundValue(*state.definition);
}

void FakeScreen::Type(int control, const std::string& text) {
  auto& state = controls_.at(control);
  const auto index = static_cast<std::size_t>(state.definition->bound_variable);
  *std::get<std::string*>(variables_.at(index)) = text;
  state.shown = Quoted(text);
}

bool FakeScreen::CanTakeFocus(int control) const {
  const auto it = controls_.find(control);
  if (it == controls_.end() || !it->second.enabled || !it->second.visible) return false;
  const ControlKind kind = it->second.definition->kind;
  return kind == ControlKind::Entry || kind == ControlKind::Button ||
         kind == ControlKind::PictureButton;
}

void FakeScreen::Focus(int control) {
  const auto it = controls_.find(control);
  if (it == controls_.end()) return;
  if (it->second.definition->kind == ControlKind::Prompt) {
    for (auto next = std::next(it); next != controls_.end(); ++next) {
      if (CanTakeFocus(next->first)) {
        focus = next->first;
        return;
      }
    }
    return;
  }
  if (CanTakeFocus(control)) focus = control;
}

Event FakeScreen::NextEvent() {
  for (;;) {
    if (++events_handed_out_ > EVENT_LIMIT) {
      ADD_FAILURE() << "the program never stopped asking for events";
      return CloseRequest();
    }
    Event event;
    if (!posted_.empty()) {
      event = Posted(posted_.front());
      posted_.pop_front();
    } else if (script.empty()) {
      ADD_FAILURE() << "the program asked for an event after the last one of the script";
      return CloseRequest();
    } else if (script.front().action) {
      const auto run = std::move(script.front().action);
      script.pop_front();
      run();
      continue;
    } else if (script.front().ticks_while_armed) {
      if (timer_period == 0) {
        script.pop_front();
        continue;
      }
      event = Timer();
    } else {
      event = *script.front().event;
      script.pop_front();
    }
    Log(Describe(event));
    return event;
  }
}

std::vector<std::string> FakeScreen::RequestsAfter(const std::string& event_line,
                                                   int occurrence) const {
  auto it = transcript.begin();
  for (int seen = 0; seen < occurrence; ++seen) {
    if (seen > 0) ++it;
    it = std::find(it, transcript.end(), event_line);
    if (it == transcript.end()) {
      ADD_FAILURE() << "no " << event_line << " number " << occurrence << " in the transcript";
      return {};
    }
  }
  std::vector<std::string> requests;
  for (++it; it != transcript.end() && !it->starts_with("> "); ++it) requests.push_back(*it);
  return requests;
}

std::vector<std::string> FakeScreen::From(const std::string& line) const {
  const auto it = std::find(transcript.begin(), transcript.end(), line);
  if (it == transcript.end()) ADD_FAILURE() << "no " << line << " in the transcript";
  return {it, transcript.end()};
}

std::unique_ptr<Window> FakeToolkit::CreateWindow(const WindowDefinition& window_definition,
                                                  std::span<const BoundVariable> variables) {
  screen_.Log("create");
  definition = &window_definition;
  if (screen_.refuse_window) return nullptr;
  screen_.created = true;
  if (variables.size() == 3 && std::holds_alternative<std::string*>(variables[0]) &&
      std::holds_alternative<std::string*>(variables[1]) &&
      std::holds_alternative<const std::uint8_t*>(variables[2])) {
    screen_.input_name = std::get<std::string*>(variables[0]);
    screen_.output_name = std::get<std::string*>(variables[1]);
    screen_.shown_percent = std::get<const std::uint8_t*>(variables[2]);
  } else {
    ADD_FAILURE() << "the window was not given the two names and the percentage";
  }
  screen_.Bind(variables);
  auto created = std::make_unique<FakeWindow>(screen_);
  window = created.get();
  return created;
}

bool ScriptedDialogs::ChooseFile(std::string_view title, std::string_view filter,
                                 std::string& target) {
  screen_.Log("choose file " + Quoted(title) + " " + Quoted(filter) + " from " + Quoted(target));
  if (screen_.chooser_answers.empty()) {
    ADD_FAILURE() << "the file chooser opened with no answer scripted";
    return false;
  }
  const auto answer = screen_.chooser_answers.front();
  screen_.chooser_answers.pop_front();
  if (!answer) return false;
  target = *answer;
  return true;
}

int ScriptedDialogs::ShowMessage(std::string_view text, std::string_view caption) {
  screen_.Log("message " + Quoted(text) + " " + Quoted(caption));
  return 1;
}

}  // namespace identstrip::ui::testing
