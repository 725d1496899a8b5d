#include "cli/console_job_window.h"

#include <algorithm>

#include "cli/program_info.h"

namespace identstrip::cli {

ConsoleJobWindow::ConsoleJobWindow(std::FILE* errors, std::string file_shown)
    : errors_(errors), file_shown_(std::move(file_shown)) {}

void ConsoleJobWindow::ShowMessage(std::string_view text, std::string_view /*caption*/) {
  ++messages_shown_;
  PrintFileMessage(errors_, file_shown_, text);
}

void PrintFileMessage(std::FILE* errors, std::string_view file_shown, std::string_view text) {
  std::string line;
  line += PROGRAM_NAME;
  line += ": ";
  line += file_shown;
  line += ": ";
  line += text;
  std::replace(line.begin() + static_cast<std::ptrdiff_t>(line.size() - text.size()), line.end(),
               '|', '\n');
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), errors);
  std::fflush(errors);
}

}  // namespace identstrip::cli
