#include "ui/toolkit/qt/qt_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <algorithm>

#include "ui/toolkit/qt/path_length_validator.h"
#include "ui/toolkit/qt/qt_dialogs.h"
#include "ui/toolkit/qt/qt_pictures.h"
#include "ui/toolkit/qt/segmented_progress_style.h"

namespace identstrip::ui::qt {
namespace {

constexpr Qt::WindowFlags FIXED_DIALOG_FRAME =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The variable's text as an entry shows it: no longer than the entry edits
// (0: no limit), cut before a whole character.
QString EntryText(const std::string& value, std::size_t capacity) {
  QString text = QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size()));
  while (capacity > 0 && static_cast<std::size_t>(text.toLocal8Bit().size()) > capacity) {
    const bool pair = text.size() >= 2 && text.back().isLowSurrogate();
    text.chop(pair ? 2 : 1);
  }
  return text;
}

QFont WindowFont(const FontDefinition& definition) {
  QFont font(FromUtf8(definition.family), definition.point_size);
  font.setWeight(static_cast<QFont::Weight>(definition.weight));
  font.setItalic(false);
  font.setUnderline(false);
  return font;
}

bool IsButton(ControlKind kind) {
  return kind == ControlKind::Button || kind == ControlKind::PictureButton;
}

}  // namespace

QtWindow::QtWindow(const WindowDefinition& definition, std::span<const BoundVariable> variables)
    : window_(std::make_unique<QWidget>(nullptr, FIXED_DIALOG_FRAME)),
      variables_(variables.begin(), variables.end()) {
  window_->setAttribute(Qt::WA_QuitOnClose, false);
  window_->setWindowTitle(FromUtf8(definition.caption));
  window_->setWindowIcon(ApplicationIcon());
  window_->setFont(WindowFont(definition.font));
  window_->installEventFilter(this);

  const QFontMetrics metrics = window_->fontMetrics();
  base_ = BaseUnitsOf(metrics.horizontalAdvance(FromUtf8(MEASURING_LETTERS)), metrics.height());
  const PixelSize client = ClientPixels(definition, base_);
  window_->setFixedSize(client.width, client.height);

  controls_.reserve(definition.controls.size());
  for (const ControlDefinition& control : definition.controls) CreateControl(control);
  RedisplayAll();

  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] { queue_.PushTimer(); });
  SetTimerPeriod(definition.timer_period);
}

QtWindow::~QtWindow() {
  // The widgets' last events must not reach variables that may be gone.
  closed_ = true;
  for (const Control& control : controls_) control.widget->removeEventFilter(this);
  window_->removeEventFilter(this);
}

void QtWindow::CreateControl(const ControlDefinition& definition) {
  QWidget* widget = CreateWidget(definition);
  const bool bound = definition.bound_variable >= 0 &&
                     static_cast<std::size_t>(definition.bound_variable) < variables_.size();
  controls_.push_back(
      {definition, widget, bound ? &variables_[definition.bound_variable] : nullptr});

  LabelMeasure label{widget->fontMetrics().horizontalAdvance(FromUtf8(definition.text)),
                     widget->fontMetrics().height()};
  const PixelRect place = ControlPixels(definition, base_, label);
  widget->setGeometry(place.left, place.top, place.width, place.height);
  if (definition.hidden_at_opening) widget->hide();
  widget->installEventFilter(this);

  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this,
            [this, number = definition.number] { Press(number); });
    if (definition.kind == ControlKind::PictureButton) {
      const int side = std::max(1, std::min(place.width, place.height) - 4);
      button->setIcon(OpenFolderPicture(side));
      button->setIconSize(QSize(side, side));
    }
  }
  if (auto* entry = qobject_cast<QLineEdit*>(widget)) {
    connect(entry, &QLineEdit::inputRejected, this, [this] {
      ++beeps_;
      QApplication::beep();
    });
  }
}

QWidget* QtWindow::CreateWidget(const ControlDefinition& definition) {
  QWidget* parent = window_.get();
  switch (definition.kind) {
    case ControlKind::Prompt:
    case ControlKind::Text: {
      auto* label = new QLabel(FromUtf8(definition.text), parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setFocusPolicy(Qt::NoFocus);
      return label;
    }
    case ControlKind::Entry: {
      auto* entry = new QLineEdit(parent);
      entry->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      if (definition.capacity > 0) {
        entry->setValidator(
            new PathLengthValidator(static_cast<qsizetype>(definition.capacity), entry));
      }
      return entry;
    }
    case ControlKind::PictureButton:
    case ControlKind::Button: {
      QString text = FromUtf8(definition.text);
      text.replace('&', "&&");  // the texts carry no access keys
      auto* button = new QPushButton(text, parent);
      button->setFocusPolicy(Qt::StrongFocus);
      button->setAutoDefault(false);
      button->setFlat(definition.kind == ControlKind::PictureButton);
      button->setDefault(definition.role == ButtonRole::Default);
      if (definition.text_color) {
        const QColor color(definition.text_color->red, definition.text_color->green,
                           definition.text_color->blue);
        QPalette palette = button->palette();
        palette.setColor(QPalette::Active, QPalette::ButtonText, color);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, color);
        button->setPalette(palette);
      }
      return button;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setRange(0, 100);
      bar->setTextVisible(false);
      bar->setStyle(&progress_style_);
      return bar;
    }
  }
  return new QWidget(parent);
}

void QtWindow::Open() {
  if (opened_ || closed_) return;
  PlaceCentred();
  window_->show();
  recentre_pending_ = true;
  PlaceForKnownFrame();
  window_->raise();
  window_->activateWindow();
  opened_ = true;
  reported_size_ = window_->size();
  queue_.Push(EventKind::Opened);
  queue_.Push(EventKind::Sized);
}

// Centres the outer window in the primary screen's work area. X11 window
// managers add the frame only once the window is shown, so the window is
// placed again, once, when its real frame first becomes known.
void QtWindow::PlaceCentred() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect work = screen->availableGeometry();
  const QWindow* handle = window_->windowHandle();
  const QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
  const QSize outer = window_->size().grownBy(frame);
  const PixelPoint place = CentredPlace(
      {work.left(), work.top(), work.left() + work.width(), work.top() + work.height()},
      {outer.width(), outer.height()});
  window_->move(place.x, place.y);  // a window's position is that of its frame
  centred_with_frame_ = frame;
}

void QtWindow::PlaceForKnownFrame() {
  if (!recentre_pending_) return;
  if (window_->windowHandle()->frameMargins() == centred_with_frame_) return;
  recentre_pending_ = false;
  PlaceCentred();
}

void QtWindow::Close() {
  if (closed_) return;
  closed_ = true;
  timer_.stop();
  queue_.Clear();
  window_->close();
}

void QtWindow::Redisplay(int number) {
  const Control* control = Find(number);
  if (control == nullptr || control->variable == nullptr) return;
  if (auto* entry = qobject_cast<QLineEdit*>(control->widget)) {
    if (auto* const* text = std::get_if<std::string*>(control->variable)) {
      entry->setText(EntryText(**text, control->definition.capacity));
      entry->setCursorPosition(0);
    }
  } else if (auto* bar = qobject_cast<QProgressBar*>(control->widget)) {
    if (auto* const* percent = std::get_if<const std::uint8_t*>(control->variable)) {
      bar->setValue(std::min<int>(**percent, 100));
    }
  }
}

void QtWindow::RedisplayAll() {
  for (const Control& control : controls_) Redisplay(control.definition.number);
}

void QtWindow::Focus(int number) {
  const Control* control = Find(number);
  if (control == nullptr) return;
  if (control->definition.kind == ControlKind::Prompt) {
    auto next = std::find_if(controls_.begin() + (control - controls_.data()) + 1, controls_.end(),
                             CanTakeFocus);
    if (next != controls_.end()) next->widget->setFocus(Qt::OtherFocusReason);
    return;
  }
  if (CanTakeFocus(*control)) control->widget->setFocus(Qt::OtherFocusReason);
}

int QtWindow::FocusedControl() const {
  const Control* control = FindByWidget(window_->focusWidget());
  return control != nullptr ? control->definition.number : 0;
}

void QtWindow::SetEnabled(int number, bool enabled) {
  if (Control* control = Find(number)) control->widget->setEnabled(enabled);
}

void QtWindow::SetVisible(int number, bool visible) {
  if (Control* control = Find(number)) control->widget->setVisible(visible);
}

void QtWindow::SetTimerPeriod(int hundredths) {
  // The period counts from this request, so a tick of the old period is void.
  queue_.DropTimer();
  if (hundredths > 0 && !closed_) {
    timer_.start(hundredths * 10);
  } else {
    timer_.stop();
  }
}

void QtWindow::Post(int private_number) {
  queue_.Push(EventKind::Private, 0, private_number);
}

Event QtWindow::NextEvent() {
  while (queue_.Empty() && !closed_) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  // A closed window has nothing more to say than that it is closed.
  if (queue_.Empty()) return {EventKind::CloseRequest};
  return queue_.Pop();
}

std::vector<Event> QtWindow::TakeQueuedEvents() {
  std::vector<Event> events;
  while (!queue_.Empty()) events.push_back(queue_.Pop());
  return events;
}

std::optional<std::string> QtWindow::RunOpenFileDialog(const OpenFileRequest& request) {
  return qt::RunOpenFileDialog(window_.get(), request);
}

void QtWindow::RunStopMessageBox(std::string_view text, std::string_view caption) {
  qt::RunStopMessageBox(window_.get(), text, caption);
}

QWidget* QtWindow::ControlWidget(int number) const {
  const Control* control = Find(number);
  return control != nullptr ? control->widget : nullptr;
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
  if (closed_) return false;
  if (event->type() == QEvent::KeyPress) {
    return HandleKeyPress(FindByWidget(watched), *static_cast<QKeyEvent*>(event));
  }
  if (watched != window_.get()) {
    // An entry's own context menu takes the keyboard without ending the edit.
    const bool left = event->type() == QEvent::FocusOut &&
                      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason;
    if (left) {
      if (const Control* control = FindByWidget(watched)) CommitEntry(*control);
    }
    return false;
  }
  switch (event->type()) {
    case QEvent::Close:
      // Only Close() closes the window; every other close is a request.
      event->ignore();
      queue_.Push(EventKind::CloseRequest);
      return true;
    case QEvent::WindowActivate:
      PlaceForKnownFrame();
      recentre_pending_ = false;
      if (opened_) queue_.Push(EventKind::FocusGained);
      break;
    case QEvent::WindowStateChange: {
      const auto old_state = static_cast<QWindowStateChangeEvent*>(event)->oldState();
      const bool restored = (old_state & Qt::WindowMinimized) && !window_->isMinimized();
      if (opened_ && restored) QueueSized();
      break;
    }
    case QEvent::Resize:
      if (opened_ && !window_->isMinimized() && window_->size() != reported_size_) QueueSized();
      break;
    case QEvent::Move:
      PlaceForKnownFrame();
      break;
    default:
      break;
  }
  return false;
}

// The window's own keys. Returns true for a key it has used up.
bool QtWindow::HandleKeyPress(const Control* control, const QKeyEvent& key) {
  const bool alt_f4 = key.key() == Qt::Key_F4 && key.modifiers().testFlag(Qt::AltModifier);
  if (key.key() == Qt::Key_Escape || alt_f4) {
    if (!key.isAutoRepeat()) queue_.Push(EventKind::CloseRequest);
    return true;
  }
  if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) return false;
  if (control != nullptr && IsButton(control->definition.kind)) {
    Press(control->definition.number);
  } else {
    if (control != nullptr) CommitEntry(*control);
    PressDefaultButton();
  }
  return true;
}

// Typed text reaches the bound variable, and the entry reports itself
// completed, only when it has changed since the last redisplay or commit.
void QtWindow::CommitEntry(const Control& control) {
  auto* entry = qobject_cast<QLineEdit*>(control.widget);
  if (entry == nullptr || !entry->isModified()) return;
  entry->setModified(false);
  if (control.variable != nullptr) {
    if (auto* const* text = std::get_if<std::string*>(control.variable)) {
      **text = entry->text().toLocal8Bit().toStdString();
    }
  }
  queue_.Push(EventKind::Accepted, control.definition.number);
}

void QtWindow::CommitModifiedEntries() {
  for (const Control& control : controls_) CommitEntry(control);
}

// A button's handler must see what was typed before it was pressed.
void QtWindow::Press(int number) {
  const Control* control = Find(number);
  if (control == nullptr || !CanTakeFocus(*control)) return;
  CommitModifiedEntries();
  queue_.PushPressed(control->definition);
}

void QtWindow::PressDefaultButton() {
  auto found = std::find_if(controls_.begin(), controls_.end(), [](const Control& control) {
    return control.definition.role == ButtonRole::Default;
  });
  if (found != controls_.end()) Press(found->definition.number);
}

QtWindow::Control* QtWindow::Find(int number) {
  auto found = std::find_if(controls_.begin(), controls_.end(), [number](const Control& control) {
    return control.definition.number == number;
  });
  return found != controls_.end() ? &*found : nullptr;
}

const QtWindow::Control* QtWindow::Find(int number) const {
  return const_cast<QtWindow*>(this)->Find(number);
}

const QtWindow::Control* QtWindow::FindByWidget(const QObject* widget) const {
  auto found = std::find_if(controls_.begin(), controls_.end(),
                            [widget](const Control& control) { return control.widget == widget; });
  return found != controls_.end() ? &*found : nullptr;
}

// Enabled, not hidden, and of a kind that takes the focus; the window need not
// be shown yet.
bool QtWindow::CanTakeFocus(const Control& control) {
  const QWidget* widget = control.widget;
  return widget->focusPolicy() != Qt::NoFocus && widget->isEnabled() && !widget->isHidden();
}

void QtWindow::QueueSized() {
  reported_size_ = window_->size();
  queue_.Push(EventKind::Sized);
}

}  // namespace identstrip::ui::qt
