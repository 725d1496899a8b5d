#include "ui/standard_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/ui/dialog_test_paths.h"
#include "tests/ui/window_stub.h"

namespace identstrip::ui {
namespace {

using testing::CurrentDirectoryGuard;
using testing::MakeFile;
using testing::MakeFolder;

constexpr std::string_view INPUT_FILTER = "TXD/A|*.tx?|All Files|*.*";

// Records what the dialogs asked of the window and answers as scripted.
class RecordingWindow final : public testing::WindowStub {
 public:
  std::optional<std::string> RunOpenFileDialog(const OpenFileRequest& request) override {
    requests.push_back(request);
    if (while_open) while_open();
    return answer;
  }
  void RunStopMessageBox(std::string_view text, std::string_view caption) override {
    messages.push_back({std::string(text), std::string(caption)});
    if (while_open) while_open();
  }
  int FocusedControl() const override { return focused; }
  void Focus(int control) override {
    focused = control;
    focus_calls.push_back(control);
  }

  std::optional<std::string> answer;
  std::function<void()> while_open;
  std::vector<OpenFileRequest> requests;
  std::vector<std::pair<std::string, std::string>> messages;
  int focused = 0;
  std::vector<int> focus_calls;
};

struct FileTypesCase {
  std::string_view filter;
  std::vector<std::pair<std::string, std::string>> types;
};

TEST(SplitFileTypesTest, PairsDescriptionsWithPatterns) {
  const FileTypesCase cases[] = {
      {INPUT_FILTER, {{"TXD/A", "*.tx?"}, {"All Files", "*.*"}}},
      {"TXD|*.txd|All Files|*.*", {{"TXD", "*.txd"}, {"All Files", "*.*"}}},
      {"", {}},
      {"Text|*.txt|Orphan", {{"Text", "*.txt"}}},
      {"Text|*.txt;*.log|", {{"Text", "*.txt;*.log"}}},
  };
  for (const auto& c : cases) {
    std::vector<std::pair<std::string, std::string>> types;
    for (const auto& type : SplitFileTypes(c.filter))
      types.emplace_back(type.description, type.pattern);
    EXPECT_EQ(types, c.types) << c.filter;
  }
}

class ChooseFileTest : public ::testing::Test {
 protected:
  ChooseFileTest() {
    std::filesystem::current_path(root);
    MakeFolder(dir, "sub");
    MakeFile(dir, "in.txd");
  }

  // The path below the test's folder, written with the system's separator.
  std::string Below(std::string_view relative) const {
    std::string path = root + std::string(relative);
    std::replace(path.begin(), path.end(), '/', file_system.Separator());
    return path;
  }

  identstrip::testing::TempDir dir;
  const std::string root = dir.Path().string();
  CurrentDirectoryGuard guard;
  FileSystem& file_system = SystemFileSystem();
  RecordingWindow window;
  StandardDialogs dialogs{window, file_system};
};

TEST_F(ChooseFileTest, OpensWhereTheTargetPoints) {
  const std::string& cwd = root;
  struct Case {
    std::string target, folder, name;
  };
  const Case cases[] = {
      {"", cwd, ""},
      {"   ", cwd, ""},
      {"sub", Below("/sub"), ""},
      {Below("/sub"), Below("/sub"), ""},
      {Below("/sub/"), Below("/sub/"), ""},
      {Below("/sub/../sub"), Below("/sub"), ""},
      {Below("/missing/"), Below("/missing/"), ""},
      {Below("/in.txd"), cwd, Below("/in.txd")},
      {"in.txd", cwd, "in.txd"},
      {"new.txd", cwd, "new.txd"},
      {Below("/missing/new.txd"), cwd, Below("/missing/new.txd")},
  };
  for (const auto& c : cases) {
    window.requests.clear();
    std::string target = c.target;
    EXPECT_FALSE(dialogs.ChooseFile("Choose", INPUT_FILTER, target));
    ASSERT_EQ(window.requests.size(), 1u);
    EXPECT_EQ(window.requests[0].initial_folder, c.folder) << "target '" << c.target << "'";
    EXPECT_EQ(window.requests[0].initial_name, c.name) << "target '" << c.target << "'";
    EXPECT_EQ(target, c.target);
  }
}

TEST_F(ChooseFileTest, PassesTitleAndTypes) {
  std::string target;
  dialogs.ChooseFile("Choose an Input TXD/TXA Clarion Text File", INPUT_FILTER, target);
  ASSERT_EQ(window.requests.size(), 1u);
  const OpenFileRequest& request = window.requests[0];
  EXPECT_EQ(request.title, "Choose an Input TXD/TXA Clarion Text File");
  ASSERT_EQ(request.types.size(), 2u);
  EXPECT_EQ(request.types[0].pattern, "*.tx?");
  EXPECT_EQ(request.types[1].description, "All Files");
}

TEST_F(ChooseFileTest, StoresTheChosenPathCutToTheTarget) {
  struct Case {
    std::optional<std::string> answer;
    bool confirmed;
    std::string target;
  };
  const std::string path254 = "/" + std::string(253, 'p');
  const Case cases[] = {
      {"/a/in.txd", true, "/a/in.txd"},
      {path254, true, path254},
      {path254 + "x", true, path254},
      {path254 + "xxxxx", true, path254},
      // 260 characters do not fit the chooser's buffer: nothing comes back.
      {path254 + "xxxxxx", false, "old.txd"},
      {"", false, "old.txd"},
      {std::nullopt, false, "old.txd"},
  };
  for (const auto& c : cases) {
    window.answer = c.answer;
    std::string target = "old.txd";
    EXPECT_EQ(dialogs.ChooseFile("Choose", INPUT_FILTER, target), c.confirmed)
        << c.answer.value_or("(cancelled)").size();
    EXPECT_EQ(target, c.target);
  }
}

TEST_F(ChooseFileTest, KeepsTheCurrentDirectoryWhateverTheDialogDoes) {
  const std::string elsewhere = MakeFolder(dir, "elsewhere");
  window.while_open = [&] { std::filesystem::current_path(elsewhere); };
  for (const std::string target : {"", "sub", "in.txd"}) {
    for (const bool confirmed : {true, false}) {
      window.answer = confirmed ? std::optional<std::string>(Below("/in.txd")) : std::nullopt;
      std::string value = target;
      dialogs.ChooseFile("Choose", INPUT_FILTER, value);
      EXPECT_EQ(std::filesystem::current_path(), root) << "target '" << target << "'";
    }
  }
}

TEST_F(ChooseFileTest, WithoutACurrentDirectoryOffersNoName) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows holds the current directory open: it cannot be removed";
#endif
  const std::string gone = MakeFolder(dir, "gone");
  std::filesystem::current_path(gone);
  std::filesystem::remove(gone);
  std::string target = "in.txd";
  EXPECT_FALSE(dialogs.ChooseFile("Choose", INPUT_FILTER, target));
  ASSERT_EQ(window.requests.size(), 1u);
  EXPECT_EQ(window.requests[0].initial_name, "");
  EXPECT_EQ(window.requests[0].initial_folder, "");
  EXPECT_EQ(target, "in.txd");
}

TEST(ShowMessageTest, TrimsAndBreaksLines) {
  struct Case {
    std::string_view text, caption, shown_text, shown_caption;
  };
  const Case cases[] = {
      {"An unexpected Error: 5 occured,|opening: /a/in.txd!", "Convert file",
       "An unexpected Error: 5 occured,\r\nopening: /a/in.txd!", "Convert file"},
      {"File not found!   ", "Convert file   ", "File not found!", "Convert file"},
      {"one|two|   ", "", "one\r\ntwo\r\n", ""},
      {"kept  |inside", "  lead", "kept  \r\ninside", "  lead"},
      {"   ", "   ", "", ""},
  };
  for (const auto& c : cases) {
    RecordingWindow window;
    StandardDialogs dialogs(window, SystemFileSystem());
    EXPECT_EQ(dialogs.ShowMessage(c.text, c.caption), 1);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].first, c.shown_text);
    EXPECT_EQ(window.messages[0].second, c.shown_caption);
  }
}

TEST(ShowMessageTest, GivesTheFocusBack) {
  RecordingWindow window;
  StandardDialogs dialogs(window, SystemFileSystem());
  window.while_open = [&] { window.focused = 0; };

  window.focused = 5;
  dialogs.ShowMessage("text", "caption");
  EXPECT_EQ(window.focus_calls, std::vector<int>{5});

  window.focus_calls.clear();
  window.focused = 0;
  dialogs.ShowMessage("text", "caption");
  EXPECT_TRUE(window.focus_calls.empty());
}

}  // namespace
}  // namespace identstrip::ui
