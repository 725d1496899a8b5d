#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/file_system.h"
#include "ui/dialogs.h"
#include "ui/toolkit/toolkit.h"

namespace identstrip::ui {

// The chooser's name buffer, terminator included: the longest path it hands
// back has 259 characters.
inline constexpr std::size_t NAME_BUFFER_SIZE = 260;

// "TXD/A|*.tx?|All Files|*.*" gives {"TXD/A", "*.tx?"} and {"All Files", "*.*"}.
// A description left without a pattern ends the list.
std::vector<FileTypeEntry> SplitFileTypes(std::string_view filter);

// The two dialogs, written once for every backend: they are shown by the
// window that owns them, and look at paths and the current directory through
// the file system.
class StandardDialogs final : public Dialogs {
 public:
  StandardDialogs(Window& owner, FileSystem& file_system)
      : owner_(owner), file_system_(file_system) {}

  bool ChooseFile(std::string_view title, std::string_view filter, std::string& target) override;
  int ShowMessage(std::string_view text, std::string_view caption) override;

 private:
  OpenFileRequest MakeRequest(std::string_view title, std::string_view filter,
                              const std::string& target, const std::string& current) const;

  Window& owner_;
  FileSystem& file_system_;
};

}  // namespace identstrip::ui
