// The system's open-file dialog and message box as the window shows them:
// the dialog's options, and both dialogs driven while they are open.
#include <filesystem>
#include <fstream>

#include "tests/support/temp_dir.h"
#include "tests/ui/win32/win32_window_fixture.h"
#include "ui/toolkit/win32/win32_dialogs.h"

namespace identstrip::ui {
namespace {

using win32::OpenFileDialogSetup;

TEST(OpenFileDialogSetupTest, ShowsTheRequestWithTheProgramsOptions) {
  const HWND owner = reinterpret_cast<HWND>(0x1234);
  OpenFileDialogSetup setup(owner, {"Choose an Input TXD/TXA Clarion Text File",
                                    {{"TXD/A", "*.tx?"}, {"All Files", "*.*"}},
                                    "C:\\Apps",
                                    "Sales.txd"});
  const OPENFILENAMEA& fields = setup.Fields();
  EXPECT_EQ(fields.hwndOwner, owner);
  EXPECT_STREQ(fields.lpstrTitle, "Choose an Input TXD/TXA Clarion Text File");
  constexpr char TYPES[] = "TXD/A\0*.tx?\0All Files\0*.*\0";  // and the array's own "\0"
  EXPECT_EQ(std::string(fields.lpstrFilter, sizeof(TYPES)), std::string(TYPES, sizeof(TYPES)));
  EXPECT_EQ(fields.nFilterIndex, 1u) << "the first type selected";
  EXPECT_STREQ(fields.lpstrInitialDir, "C:\\Apps");
  EXPECT_STREQ(fields.lpstrFile, "Sales.txd");
  EXPECT_EQ(fields.nMaxFile, 260u);
  EXPECT_EQ(fields.lpstrDefExt, nullptr) << "no default extension";
  EXPECT_EQ(fields.Flags, static_cast<DWORD>(OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                                             OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_SHAREAWARE));
  EXPECT_FALSE(fields.Flags & OFN_ALLOWMULTISELECT);
}

TEST(OpenFileDialogSetupTest, AnInitialNameFillsTheBufferAtMost) {
  const std::string long_name(300, 'n');
  OpenFileDialogSetup setup(nullptr, {"Choose", {}, "", long_name});
  EXPECT_EQ(setup.Name(), std::string(259, 'n'));
  EXPECT_EQ(setup.Fields().lpstrInitialDir, nullptr);
  EXPECT_EQ(setup.Fields().lpstrFilter, nullptr);
}

// Acts on a dialog of this thread from a timer that runs inside the
// dialog's own message loop.
std::function<bool()> while_open;

void CALLBACK ActWhileOpen(HWND, UINT, UINT_PTR timer, DWORD) {
  if (while_open && while_open()) {
    KillTimer(nullptr, timer);
    while_open = nullptr;
  }
}

void WhenOpen(std::function<bool()> act) {
  while_open = std::move(act);
  SetTimer(nullptr, 0, 50, ActWhileOpen);
}

// The explorer-style dialog's file name box (cmb13, or edt1 in older forms).
void TypeFileName(HWND dialog, const std::string& name) {
  for (int box : {0x47c, 0x480}) SetDlgItemTextA(dialog, box, name.c_str());
}

constexpr char TITLE[] = "Choose an Input TXD/TXA Clarion Text File";

class DialogsTest : public Win32WindowTest {
 protected:
  OpenFileRequest Request() const {
    return {TITLE, {{"TXD/A", "*.tx?"}, {"All Files", "*.*"}}, dir_.Path().string(), ""};
  }

  identstrip::testing::TempDir dir_;
};

TEST_F(DialogsTest, TheChooserIsModalToTheWindowAndACancelReturnsNothing) {
  OpenActive();
  HWND owner = nullptr;
  bool window_enabled = true;
  WhenOpen([&] {
    HWND dialog = FindWindowA(nullptr, TITLE);
    if (dialog == nullptr) return false;
    owner = GetWindow(dialog, GW_OWNER);
    window_enabled = IsWindowEnabled(Top()) != 0;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  EXPECT_EQ(window_->RunOpenFileDialog(Request()), std::nullopt);
  EXPECT_EQ(owner, Top());
  EXPECT_FALSE(window_enabled);
}

TEST_F(DialogsTest, TheChooserReturnsTheFullPathOfAnExistingFile) {
  OpenActive();
  const std::string file = dir_.File("Sales.txd");
  std::ofstream(file) << "text\r\n";
  WhenOpen([&] {
    HWND dialog = FindWindowA(nullptr, TITLE);
    if (dialog == nullptr) return false;
    TypeFileName(dialog, "Sales.txd");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  const auto chosen = window_->RunOpenFileDialog(Request());
  ASSERT_TRUE(chosen.has_value());
  EXPECT_TRUE(std::filesystem::equivalent(*chosen, file)) << *chosen;
}

TEST_F(DialogsTest, TheChooserRefusesAFileThatDoesNotExistAndStaysOpen) {
  OpenActive();
  int step = 0;
  bool refused = false;
  WhenOpen([&] {
    HWND dialog = FindWindowA(nullptr, TITLE);
    if (dialog == nullptr) return false;
    if (step == 0) {
      TypeFileName(dialog, "Missing.txd");
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      step = 1;
      return false;
    }
    // The dialog tells the user in a box of its own, owned by the dialog.
    HWND box = nullptr;
    for (HWND top = GetTopWindow(nullptr); top != nullptr; top = GetWindow(top, GW_HWNDNEXT)) {
      if (GetWindow(top, GW_OWNER) == dialog && IsWindowVisible(top)) box = top;
    }
    if (box == nullptr) return false;
    refused = true;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  EXPECT_EQ(window_->RunOpenFileDialog(Request()), std::nullopt);
  EXPECT_TRUE(refused);
}

TEST_F(DialogsTest, TheMessageBoxShowsTheStopIconTheTextAndOneOkButton) {
  OpenActive();
  std::vector<std::string> buttons;
  std::string text;
  bool has_icon = false;
  HWND owner = nullptr;
  WhenOpen([&] {
    HWND box = FindWindowA(nullptr, "Convert file");
    if (box == nullptr) return false;
    owner = GetWindow(box, GW_OWNER);
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      char name[64] = {};
      char shown[256] = {};
      GetClassNameA(child, name, sizeof(name));
      GetWindowTextA(child, shown, sizeof(shown));
      const auto style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
      if (lstrcmpiA(name, "Button") == 0 && IsWindowVisible(child)) buttons.push_back(shown);
      if (lstrcmpiA(name, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) has_icon = true;
      if (lstrcmpiA(name, "Static") == 0 && shown[0] != '\0') text = shown;
    }
    PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return true;
  });
  window_->RunStopMessageBox("An unexpected Error: 3 occured,\r\nopening: C:\\x.txd!",
                             "Convert file");
  EXPECT_EQ(owner, Top());
  EXPECT_EQ(text, "An unexpected Error: 3 occured,\r\nopening: C:\\x.txd!");
  EXPECT_TRUE(has_icon);
  EXPECT_EQ(buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(win32::STOP_MESSAGE_STYLE & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

}  // namespace
}  // namespace identstrip::ui
