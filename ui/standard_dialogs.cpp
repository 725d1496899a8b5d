#include "ui/standard_dialogs.h"

#include <utility>

#include "ui/main_window_definition.h"

namespace identstrip::ui {
namespace {

std::string_view WithoutTrailingBlanks(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string LinesFromBars(std::string_view text) {
  std::string lines;
  lines.reserve(text.size());
  for (const char c : text) {
    if (c == '|') {
      lines += "\r\n";
    } else {
      lines += c;
    }
  }
  return lines;
}

}  // namespace

std::vector<FileTypeEntry> SplitFileTypes(std::string_view filter) {
  std::vector<std::string_view> parts;
  while (!filter.empty()) {
    const auto bar = filter.find('|');
    parts.push_back(filter.substr(0, bar));
    filter = bar == std::string_view::npos ? std::string_view() : filter.substr(bar + 1);
  }
  std::vector<FileTypeEntry> types;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    types.push_back({std::string(parts[i]), std::string(parts[i + 1])});
  }
  return types;
}

OpenFileRequest StandardDialogs::MakeRequest(std::string_view title, std::string_view filter,
                                             const std::string& target,
                                             const std::string& current) const {
  OpenFileRequest request{std::string(title), SplitFileTypes(filter), current, {}};

  std::string name = target.substr(0, NAME_BUFFER_SIZE - 1);
  // A name of blanks only is no name, as everywhere in the program.
  if (WithoutTrailingBlanks(name).empty()) name.clear();
  const auto full = file_system_.FullPath(name);
  if (!full) name.clear();
  if (name.empty()) return request;

  if (name.back() == file_system_.Separator() || file_system_.IsDirectory(*full)) {
    request.initial_folder = *full;
  } else {
    request.initial_name = std::move(name);
  }
  return request;
}

bool StandardDialogs::ChooseFile(std::string_view title, std::string_view filter,
                                 std::string& target) {
  const std::string current = file_system_.CurrentDirectory();
  const auto chosen = owner_.RunOpenFileDialog(MakeRequest(title, filter, target, current));
  // Whatever the dialog did to the current directory, the program keeps its own.
  if (!current.empty() && file_system_.CurrentDirectory() != current) {
    file_system_.SetCurrentDirectory(current);
  }

  // A path that does not fit the name buffer cannot come back from the
  // chooser: it counts as a dialog that failed.
  if (!chosen || chosen->empty() || chosen->size() >= NAME_BUFFER_SIZE) return false;
  target = chosen->substr(0, PATH_CAPACITY);
  return true;
}

int StandardDialogs::ShowMessage(std::string_view text, std::string_view caption) {
  const int focused = owner_.FocusedControl();
  owner_.RunStopMessageBox(LinesFromBars(WithoutTrailingBlanks(text)),
                           WithoutTrailingBlanks(caption));
  if (focused != 0) owner_.Focus(focused);
  return 1;
}

}  // namespace identstrip::ui
