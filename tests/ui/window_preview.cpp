// Opens the main window through the toolkit layer and reports its events, for
// a look at the window by hand. With --screenshot FILE it writes a picture of
// the window, frame included, as soon as the window is active, and ends.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "ui/main_window_definition.h"
#include "ui/toolkit/dialog_units.h"
#include "ui/toolkit/qt/qt_toolkit.h"
#include "ui/toolkit/qt/qt_window.h"

namespace {

using namespace identstrip::ui;

const char* KindName(EventKind kind) {
  switch (kind) {
    case EventKind::Opened:
      return "opened";
    case EventKind::Sized:
      return "sized";
    case EventKind::FocusGained:
      return "focus gained";
    case EventKind::Timer:
      return "timer";
    case EventKind::CloseRequest:
      return "close request";
    case EventKind::Pressed:
      return "pressed";
    case EventKind::Accepted:
      return "accepted";
    case EventKind::Private:
      return "private";
  }
  return "?";
}

// Lets the window system finish drawing the window and its frame.
void Settle(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool WriteScreenshot(QWidget& window, const QString& file) {
  const QRect frame = window.frameGeometry();
  QPixmap shot =
      window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  if (shot.isNull()) shot = window.grab();
  return shot.save(file, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<QString> screenshot;
  if (argc == 3 && std::string_view(argv[1]) == "--screenshot") {
    screenshot = QString::fromLocal8Bit(argv[2]);
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: %s [--screenshot FILE.png]\n", argv[0]);
    return 2;
  }

  auto toolkit = qt::CreateQtToolkit();
  std::string input_name;
  std::string output_name;
  std::uint8_t shown_percent = 0;
  const std::array<BoundVariable, 3> variables{&input_name, &output_name, &shown_percent};
  auto window = toolkit->CreateWindow(MainWindowDefinition(), variables);
  auto& qt_window = static_cast<qt::QtWindow&>(*window);

  const BaseUnits base = qt_window.MeasuredUnits();
  QWidget& top = *qt_window.TopLevel();
  std::printf("font %s, %d px: w = %d, h = %d, client %d x %d\n",
              QFontInfo(top.font()).family().toLocal8Bit().constData(),
              QFontInfo(top.font()).pixelSize(), base.width, base.height, top.width(),
              top.height());

  window->Open();
  window->SetTimerPeriod(0);
  for (;;) {
    const Event event = window->NextEvent();
    std::printf("%s, control %d\n", KindName(event.kind), event.control);
    std::fflush(stdout);
    switch (event.kind) {
      case EventKind::Opened:
        window->RedisplayAll();
        window->Focus(PROMPT1);
        break;
      case EventKind::FocusGained:
        if (screenshot) {
          Settle(700);
          const bool written = WriteScreenshot(top, *screenshot);
          window->Close();
          return written ? 0 : 1;
        }
        break;
      case EventKind::CloseRequest:
        window->Close();
        return 0;
      default:
        break;
    }
  }
}
