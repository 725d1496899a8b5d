#include "ui/main_window.h"

#include <array>
#include <string>
#include <string_view>

#include "conversion/conversion_job.h"
#include "conversion/job_window.h"
#include "conversion/output_name.h"
#include "ui/main_window_definition.h"

namespace identstrip::ui {
namespace {

constexpr std::string_view INPUT_CHOOSER_TITLE = "Choose an Input TXD/TXA Clarion Text File";
constexpr std::string_view INPUT_CHOOSER_FILTER = "TXD/A|*.tx?|All Files|*.*";
constexpr std::string_view OUTPUT_CHOOSER_TITLE = "Choose an Output TXD Text Dictionary File";
constexpr std::string_view OUTPUT_CHOOSER_FILTER = "TXD|*.txd|All Files|*.*";

// An empty name and a name of blanks only are alike: no name at all.
bool IsBlank(std::string_view name) {
  return name.find_first_not_of(' ') == std::string_view::npos;
}

// The procedure of the main window: it owns both names and the one job, and
// serves the job's requests on the window.
class MainWindowProcedure final : public JobWindow {
 public:
  explicit MainWindowProcedure(FileSystem& file_system)
      : job_(file_system, input_name_, output_name_, *this) {}

  bool Run(Toolkit& toolkit, const DialogsFactory& make_dialogs) {
    const std::array<BoundVariable, 3> variables{&input_name_, &output_name_, &job_.ShownPercent()};
    window_ = toolkit.CreateWindow(MainWindowDefinition(), variables);
    if (!window_) return false;
    dialogs_ = make_dialogs(*window_);
    window_->Open();
    // The definition's timer runs from creation; only the job arms it from here on.
    window_->SetTimerPeriod(0);
    RunEventLoop();
    return true;
  }

  void ShowMessage(std::string_view text, std::string_view caption) override {
    dialogs_->ShowMessage(text, caption);
  }

  void ShowRunningLook() override {
    SetInputControlsEnabled(false);
    window_->SetVisible(STRING1, true);
    window_->SetVisible(PROGRESS_THERMOMETER, true);
    RefreshAll();
  }

  void ShowIdleLook() override {
    window_->SetVisible(STRING1, false);
    window_->SetVisible(PROGRESS_THERMOMETER, false);
    SetInputControlsEnabled(true);
    input_name_.clear();
    output_name_.clear();
    window_->Redisplay(NEWFILENAME);
    window_->Redisplay(OLDFILENAME);
    window_->Focus(OLDFILENAME);
  }

  void SetTimerPeriod(int hundredths) override { window_->SetTimerPeriod(hundredths); }

  void RedisplayProgress() override { window_->Redisplay(PROGRESS_THERMOMETER); }

 private:
  void RunEventLoop() {
    for (;;) {
      const Event event = window_->NextEvent();
      // Whatever the job is doing: its files are closed when the procedure
      // ends, after the last whole slice.
      if (event.kind == EventKind::CloseRequest) {
        window_->Close();
        return;
      }
      HandleWindowEvent(event);
      if (event.kind == EventKind::Pressed) HandlePressed(event.control);
    }
  }

  void HandleWindowEvent(const Event& event) {
    switch (event.kind) {
      case EventKind::Private:
        if (event.private_number == DEFERRED_REFRESH_EVENT) RefreshAll();
        break;
      case EventKind::FocusGained:
        RefreshAll();
        first_refresh_done_ = true;
        break;
      case EventKind::Opened:
        if (!first_refresh_done_) {
          RefreshAll();
          first_refresh_done_ = true;
        }
        window_->Focus(PROMPT1);
        break;
      case EventKind::Sized:
        // Redisplaying inside the size report would draw before the toolkit
        // has laid the window out anew.
        window_->Post(DEFERRED_REFRESH_EVENT);
        break;
      case EventKind::Timer:
        job_.HandleTick();
        break;
      default:
        break;
    }
  }

  void HandlePressed(int control) {
    switch (control) {
      case LOOKUPFILE:
        ChooseInputFile();
        break;
      case LOOKUPFILE_2:
        ChooseOutputFile();
        break;
      case BUTTON_START:
        Convert();
        break;
      default:
        break;
    }
  }

  // The input controls are disabled while a job runs; a press of one that
  // the toolkit had queued before it was disabled is dropped.
  bool InputControlsUsable() const { return job_.State() == JobState::Idle; }

  void ChooseInputFile() {
    if (!InputControlsUsable()) return;
    if (!dialogs_->ChooseFile(INPUT_CHOOSER_TITLE, INPUT_CHOOSER_FILTER, input_name_)) return;
    if (IsBlank(input_name_)) return;
    output_name_ = ProposeOutputName(input_name_);
    if (output_name_.size() > PATH_CAPACITY) output_name_.resize(PATH_CAPACITY);
    window_->Redisplay(NEWFILENAME);
    window_->Redisplay(OLDFILENAME);
  }

  // Stays usable during a run: the job keeps the output file it opened.
  void ChooseOutputFile() {
    if (dialogs_->ChooseFile(OUTPUT_CHOOSER_TITLE, OUTPUT_CHOOSER_FILTER, output_name_)) {
      window_->Redisplay(NEWFILENAME);
    }
  }

  void Convert() {
    if (!InputControlsUsable()) return;
    if (IsBlank(input_name_)) {
      window_->Focus(OLDFILENAME);
      return;
    }
    if (IsBlank(output_name_)) {
      window_->Focus(NEWFILENAME);
      return;
    }
    job_.StartConversion();
    // A failed start has shown its message; the names stay for correcting.
    if (job_.State() == JobState::Idle) window_->Focus(OLDFILENAME);
  }

  void SetInputControlsEnabled(bool enabled) {
    window_->SetEnabled(PROMPT1, enabled);
    window_->SetEnabled(OLDFILENAME, enabled);
    window_->SetEnabled(LOOKUPFILE, enabled);
    window_->SetEnabled(BUTTON_START, enabled);
  }

  void RefreshAll() { window_->RedisplayAll(); }

  // Declared in the order they depend on each other: the window is bound to
  // the names and the job's percentage, the dialogs belong to the window.
  std::string input_name_;
  std::string output_name_;
  ConversionJob job_;
  std::unique_ptr<Window> window_;
  std::unique_ptr<Dialogs> dialogs_;
  bool first_refresh_done_ = false;
};

}  // namespace

bool RunMainWindow(Toolkit& toolkit, FileSystem& file_system, const DialogsFactory& make_dialogs) {
  MainWindowProcedure procedure(file_system);
  return procedure.Run(toolkit, make_dialogs);
}

}  // namespace identstrip::ui
