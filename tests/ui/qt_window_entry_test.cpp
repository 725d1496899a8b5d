// The entries edit at most 254 characters: a keystroke or paste past that is
// refused whole, with a beep.
#include <QClipboard>
#include <QGuiApplication>

#include "qt_window_fixture.h"

namespace identstrip::ui {
namespace {

class EntryLimitTest : public MainWindowTest, public testing::WithParamInterface<int> {
 protected:
  QLineEdit* Edited() {
    window_->Focus(GetParam());
    return Entry(GetParam());
  }

  static void Paste(QLineEdit* entry, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
  }
};

TEST_P(EntryLimitTest, TypingThe255thCharacterIsRefusedWithABeep) {
  OpenActive();
  QLineEdit* entry = Edited();
  QTest::keyClicks(entry, QString(253, 'a'));
  QTest::keyClick(entry, Qt::Key_B);
  EXPECT_EQ(entry->text().size(), 254);
  EXPECT_EQ(qt_->BeepCount(), 0);
  QTest::keyClick(entry, Qt::Key_C);
  EXPECT_EQ(entry->text(), QString(253, 'a') + "b");
  EXPECT_EQ(qt_->BeepCount(), 1);
  QTest::keyClick(entry, Qt::Key_D);
  EXPECT_EQ(qt_->BeepCount(), 2);
  // A full entry can still be edited.
  QTest::keyClick(entry, Qt::Key_Backspace);
  QTest::keyClick(entry, Qt::Key_E);
  EXPECT_EQ(entry->text(), QString(253, 'a') + "e");
  EXPECT_EQ(qt_->BeepCount(), 2);
}

TEST_P(EntryLimitTest, APasteThatWouldPass254IsRefusedWhole) {
  OpenActive();
  QLineEdit* entry = Edited();
  QTest::keyClicks(entry, QString(250, 'a'));
  Paste(entry, "12345");
  EXPECT_EQ(entry->text(), QString(250, 'a')) << "nothing of the paste went in";
  EXPECT_EQ(qt_->BeepCount(), 1);
  Paste(entry, "1234");
  EXPECT_EQ(entry->text(), QString(250, 'a') + "1234");
  EXPECT_EQ(qt_->BeepCount(), 1);
}

TEST_P(EntryLimitTest, APasteOverASelectionCountsWhatItReplaces) {
  OpenActive();
  QLineEdit* entry = Edited();
  QTest::keyClicks(entry, QString(254, 'a'));
  entry->setSelection(0, 10);
  Paste(entry, "0123456789");
  EXPECT_EQ(entry->text(), "0123456789" + QString(244, 'a'));
  EXPECT_EQ(qt_->BeepCount(), 0);
  entry->setSelection(0, 10);
  Paste(entry, "0123456789X");
  EXPECT_EQ(entry->text(), "0123456789" + QString(244, 'a'));
  EXPECT_EQ(qt_->BeepCount(), 1);
}

TEST_P(EntryLimitTest, TheLimitCountsTheBytesTheVariableHolds) {
  OpenActive();
  QLineEdit* entry = Edited();
  QTest::keyClicks(entry, QString(252, 'a'));
  Paste(entry, QString::fromUtf8("\xc3\xa9\xc3\xa9"));  // two characters, four bytes
  EXPECT_EQ(entry->text(), QString(252, 'a'));
  EXPECT_EQ(qt_->BeepCount(), 1);
  Paste(entry, QString::fromUtf8("\xc3\xa9"));
  EXPECT_EQ(entry->text(), QString(252, 'a') + QString::fromUtf8("\xc3\xa9"));
  QTest::keyClick(entry, Qt::Key_Tab);
  EXPECT_EQ(GetParam() == OLDFILENAME ? input_name_ : output_name_,
            std::string(252, 'a') + "\xc3\xa9");
}

TEST_P(EntryLimitTest, AVariableLongerThanTheEntryShowsItsFirst254Characters) {
  std::string& variable = GetParam() == OLDFILENAME ? input_name_ : output_name_;
  variable = std::string(254, 'a') + "bc";
  window_->Redisplay(GetParam());
  EXPECT_EQ(Entry(GetParam())->text(), QString(254, 'a'));
  EXPECT_EQ(variable.size(), 256u) << "a redisplay changes no variable";
}

INSTANTIATE_TEST_SUITE_P(BothEntries, EntryLimitTest, testing::Values(OLDFILENAME, NEWFILENAME),
                         [](const testing::TestParamInfo<int>& info) {
                           return info.param == OLDFILENAME ? "OldFilename" : "NewFilename";
                         });

}  // namespace
}  // namespace identstrip::ui
