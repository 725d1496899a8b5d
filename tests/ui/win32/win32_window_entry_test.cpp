// The entries: at most 254 characters, a keystroke or paste past that refused
// whole with a beep; typed text reaching its variable when the entry is left
// or completed with Enter.
#include "tests/ui/win32/win32_window_fixture.h"

namespace identstrip::ui {
namespace {

using ::testing::ElementsAre;

class EntryLimitTest : public Win32WindowTest, public ::testing::WithParamInterface<int> {
 protected:
  HWND Edited() {
    OpenActive();
    window_->Focus(GetParam());
    return Control(GetParam());
  }

  // Fills the entry as typing would, without typing every character.
  void Fill(HWND entry, const std::string& text) {
    SetWindowTextA(entry, text.c_str());
    SendMessageA(entry, EM_SETSEL, text.size(), text.size());
  }

  void Paste(HWND entry, const std::string& text) {
    testing::SetClipboardText(entry, text);
    testing::PressKeys({VK_CONTROL, 'V'});
    Events(40);
  }

  std::string Text(HWND entry) {
    char text[600] = {};
    GetWindowTextA(entry, text, sizeof(text));
    return text;
  }
};

TEST_P(EntryLimitTest, TypingThe255thCharacterIsRefusedWithABeep) {
  HWND entry = Edited();
  EXPECT_EQ(SendMessageA(entry, EM_GETLIMITTEXT, 0, 0), 254);
  Fill(entry, std::string(253, 'a'));
  testing::TypeText("b");
  Events(30);
  EXPECT_EQ(Text(entry), std::string(253, 'a') + "b");
  EXPECT_EQ(win32_->BeepCount(), 0);
  testing::TypeText("cd");
  Events(30);
  EXPECT_EQ(Text(entry), std::string(253, 'a') + "b");
  EXPECT_EQ(win32_->BeepCount(), 2);
  // A full entry can still be edited.
  testing::PressKey(VK_BACK);
  testing::TypeText("e");
  Events(30);
  EXPECT_EQ(Text(entry), std::string(253, 'a') + "e");
  EXPECT_EQ(win32_->BeepCount(), 2);
}

TEST_P(EntryLimitTest, APasteThatWouldPass254IsRefusedWhole) {
  HWND entry = Edited();
  Fill(entry, std::string(250, 'a'));
  Paste(entry, "12345");
  EXPECT_EQ(Text(entry), std::string(250, 'a')) << "nothing of the paste went in";
  EXPECT_EQ(win32_->BeepCount(), 1);
  // Shift+Insert is a paste too.
  testing::SetClipboardText(entry, "12345");
  testing::PressKeys({VK_SHIFT, VK_INSERT});
  Events(40);
  EXPECT_EQ(Text(entry), std::string(250, 'a'));
  EXPECT_EQ(win32_->BeepCount(), 2);
  Paste(entry, "1234");
  EXPECT_EQ(Text(entry), std::string(250, 'a') + "1234");
  EXPECT_EQ(win32_->BeepCount(), 2);
}

TEST_P(EntryLimitTest, APasteOverASelectionCountsWhatItReplaces) {
  HWND entry = Edited();
  Fill(entry, std::string(254, 'a'));
  SendMessageA(entry, EM_SETSEL, 0, 10);
  Paste(entry, "0123456789");
  EXPECT_EQ(Text(entry), "0123456789" + std::string(244, 'a'));
  EXPECT_EQ(win32_->BeepCount(), 0);
  SendMessageA(entry, EM_SETSEL, 0, 10);
  Paste(entry, "0123456789X");
  EXPECT_EQ(Text(entry), "0123456789" + std::string(244, 'a'));
  EXPECT_EQ(win32_->BeepCount(), 1);
}

TEST_P(EntryLimitTest, APasteTakesTheFirstLineOnly) {
  HWND entry = Edited();
  Fill(entry, std::string(250, 'a'));
  Paste(entry, "1234\r\nmore text on the second line");
  EXPECT_EQ(Text(entry), std::string(250, 'a') + "1234");
  EXPECT_EQ(win32_->BeepCount(), 0);
}

TEST_P(EntryLimitTest, AVariableLongerThanTheEntryShowsItsFirst254Characters) {
  std::string& variable = GetParam() == OLDFILENAME ? input_name_ : output_name_;
  variable = std::string(254, 'a') + "bc";
  window_->Redisplay(GetParam());
  EXPECT_EQ(TextOf(GetParam()), std::string(254, 'a'));
  EXPECT_EQ(variable.size(), 256u) << "a redisplay changes no variable";
}

INSTANTIATE_TEST_SUITE_P(BothEntries, EntryLimitTest, ::testing::Values(OLDFILENAME, NEWFILENAME),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == OLDFILENAME ? "OldFilename" : "NewFilename";
                         });

using BindingTest = Win32WindowTest;

TEST_F(BindingTest, TypedTextReachesTheVariableWhenTheEntryIsLeft) {
  OpenActive();
  testing::TypeText("c:\\in.txd");
  Events();
  EXPECT_EQ(input_name_, "") << "not while the entry has the focus";
  testing::PressKey(VK_TAB);
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Accepted, OLDFILENAME)));
  EXPECT_EQ(input_name_, "c:\\in.txd");
  // Leaving it again unchanged reports nothing.
  window_->Focus(OLDFILENAME);
  window_->Focus(NEWFILENAME);
  EXPECT_THAT(Events(), ::testing::IsEmpty());
}

TEST_F(BindingTest, EnterStoresTheTextBeforeTheButtonIsPressed) {
  OpenActive();
  window_->Focus(NEWFILENAME);
  testing::TypeText("c:\\out.txd");
  testing::PressKey(VK_RETURN);
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Accepted, NEWFILENAME),
                                    IsEvent(EventKind::Pressed, BUTTON_START)));
  EXPECT_EQ(output_name_, "c:\\out.txd");
}

TEST_F(BindingTest, ClickingAButtonStoresWhatWasTyped) {
  OpenActive();
  testing::TypeText("c:\\in.txd");
  Events();
  testing::ClickOn(Control(BUTTON_START));
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Accepted, OLDFILENAME),
                                    IsEvent(EventKind::Pressed, BUTTON_START)));
  EXPECT_EQ(input_name_, "c:\\in.txd");
}

TEST_F(BindingTest, ControlsShowTheirVariablesAsOfTheLastRedisplay) {
  input_name_ = "c:\\a.txd";
  output_name_ = "c:\\aNI.txd";
  shown_percent_ = 42;
  EXPECT_EQ(TextOf(OLDFILENAME), "") << "not before a redisplay";
  window_->RedisplayAll();
  EXPECT_EQ(TextOf(OLDFILENAME), "c:\\a.txd");
  EXPECT_EQ(TextOf(NEWFILENAME), "c:\\aNI.txd");
  EXPECT_EQ(SendMessageA(Control(PROGRESS_THERMOMETER), PBM_GETPOS, 0, 0), 42);
  shown_percent_ = 43;
  input_name_.clear();
  window_->Redisplay(PROGRESS_THERMOMETER);
  EXPECT_EQ(SendMessageA(Control(PROGRESS_THERMOMETER), PBM_GETPOS, 0, 0), 43);
  EXPECT_EQ(TextOf(OLDFILENAME), "c:\\a.txd") << "only the control redisplayed";
}

}  // namespace
}  // namespace identstrip::ui
