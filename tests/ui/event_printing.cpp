#include "tests/ui/event_printing.h"

namespace identstrip::ui {
namespace {

const char* KindName(EventKind kind) {
  switch (kind) {
    case EventKind::Opened:
      return "Opened";
    case EventKind::Sized:
      return "Sized";
    case EventKind::FocusGained:
      return "FocusGained";
    case EventKind::Timer:
      return "Timer";
    case EventKind::CloseRequest:
      return "CloseRequest";
    case EventKind::Pressed:
      return "Pressed";
    case EventKind::Accepted:
      return "Accepted";
    case EventKind::Private:
      return "Private";
  }
  return "?";
}

}  // namespace

void PrintTo(EventKind kind, std::ostream* out) {
  *out << KindName(kind);
}

void PrintTo(const Event& event, std::ostream* out) {
  *out << KindName(event.kind) << "(control " << event.control;
  if (event.kind == EventKind::Private) *out << ", number " << event.private_number;
  *out << ")";
}

}  // namespace identstrip::ui
