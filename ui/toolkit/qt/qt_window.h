#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>
#include <QTimer>
#include <memory>
#include <span>
#include <vector>

#include "ui/toolkit/dialog_units.h"
#include "ui/toolkit/event_queue.h"
#include "ui/toolkit/qt/segmented_progress_style.h"
#include "ui/toolkit/toolkit.h"

class QKeyEvent;
class QWidget;

namespace identstrip::ui::qt {

// A window of the toolkit layer made of Qt widgets: one top-level QWidget
// with a child widget per control, laid out in dialog units of its font.
// Qt's events are turned into the layer's events and queued; NextEvent hands
// them out one at a time and runs Qt's event loop only while none is queued.
class QtWindow final : public QObject, public Window {
 public:
  QtWindow(const WindowDefinition& definition, std::span<const BoundVariable> variables);
  ~QtWindow() override;

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

  // Backend-specific access for the widget tests and the preview tool.
  QWidget* TopLevel() const { return window_.get(); }
  QWidget* ControlWidget(int control) const;  // nullptr for an unknown number
  BaseUnits MeasuredUnits() const { return base_; }
  int BeepCount() const { return beeps_; }
  // Hands out, as NextEvent would, every event queued so far, without waiting.
  std::vector<Event> TakeQueuedEvents();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Control {
    ControlDefinition definition;
    QWidget* widget;
    const BoundVariable* variable;  // nullptr when unbound
  };

  void CreateControl(const ControlDefinition& definition);
  QWidget* CreateWidget(const ControlDefinition& definition);
  void PlaceCentred();
  void PlaceForKnownFrame();

  Control* Find(int control);
  const Control* Find(int control) const;
  const Control* FindByWidget(const QObject* widget) const;
  static bool CanTakeFocus(const Control& control);

  bool HandleKeyPress(const Control* control, const QKeyEvent& key);
  void CommitEntry(const Control& control);
  void CommitModifiedEntries();
  void Press(int control);
  void PressDefaultButton();

  void QueueSized();

  // Declared before the widgets, so that it outlives the bars drawn with it.
  SegmentedProgressStyle progress_style_;
  std::unique_ptr<QWidget> window_;
  std::vector<BoundVariable> variables_;
  std::vector<Control> controls_;
  BaseUnits base_{};
  QTimer timer_;
  EventQueue queue_;
  bool opened_ = false;
  bool closed_ = false;
  bool recentre_pending_ = false;
  QMargins centred_with_frame_;
  QSize reported_size_;
  int beeps_ = 0;
};

}  // namespace identstrip::ui::qt
