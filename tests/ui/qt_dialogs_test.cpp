#include "ui/toolkit/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "conversion/posix/posix_file_system.h"
#include "tests/ui/dialog_test_paths.h"
#include "tests/ui/modal_driver.h"
#include "tests/ui/window_stub.h"
#include "ui/standard_dialogs.h"

namespace identstrip::ui {
namespace {

using testing::CurrentDirectoryGuard;
using testing::MakeFile;
using testing::MakeFolder;
using testing::ModalDriver;

constexpr std::string_view INPUT_TITLE = "Choose an Input TXD/TXA Clarion Text File";
constexpr std::string_view INPUT_FILTER = "TXD/A|*.tx?|All Files|*.*";
constexpr std::string_view OUTPUT_TITLE = "Choose an Output TXD Text Dictionary File";
constexpr std::string_view OUTPUT_FILTER = "TXD|*.txd|All Files|*.*";

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// A window whose dialogs are the Qt ones, owned by a plain widget.
class QtOwnedWindow final : public testing::WindowStub {
 public:
  explicit QtOwnedWindow(QWidget& owner) : owner_(owner) {}
  std::optional<std::string> RunOpenFileDialog(const OpenFileRequest& request) override {
    return qt::RunOpenFileDialog(&owner_, request);
  }
  void RunStopMessageBox(std::string_view text, std::string_view caption) override {
    qt::RunStopMessageBox(&owner_, text, caption);
  }

 private:
  QWidget& owner_;
};

QLineEdit* NameBox(QWidget* chooser) {
  return chooser->findChild<QLineEdit*>("fileNameEdit");
}

QPushButton* Button(QWidget* chooser, QDialogButtonBox::StandardButton which) {
  return chooser->findChild<QDialogButtonBox*>("buttonBox")->button(which);
}

// Clicks into the name box and types over whatever it holds, then lets the
// dialog take in the name before the next key or click, as it does between a
// user's actions.
void TypeName(QWidget* chooser, const std::string& name) {
  QLineEdit* box = NameBox(chooser);
  QTest::mouseClick(box, Qt::LeftButton);
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, Q(name));
  QCoreApplication::processEvents();
}

void Click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

// Types a folder's name and opens it, then waits, as a user would, until its
// contents are listed.
void OpenFolder(QWidget* chooser, const std::string& name) {
  TypeName(chooser, name);
  Click(Button(chooser, QDialogButtonBox::Open));
  auto* view = chooser->findChild<QListView*>("listView");
  EXPECT_TRUE(
      QTest::qWaitFor([view] { return view->model()->rowCount(view->rootIndex()) > 0; }, 5000))
      << name;
}

std::string FolderOf(QWidget* chooser) {
  return qobject_cast<QFileDialog*>(chooser)->directory().absolutePath().toStdString();
}

// The names the chooser lists, given time to read its folder until they are
// the expected ones.
QStringList ListedNames(QWidget* chooser, const QStringList& expected) {
  auto* view = chooser->findChild<QListView*>("listView");
  const auto listed = [view] {
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
      names << view->model()->index(row, 0, view->rootIndex()).data().toString();
    }
    names.sort();
    return names;
  };
  (void)QTest::qWaitFor([&] { return listed() == expected; }, 5000);
  return listed();
}

class QtDialogsTest : public ::testing::Test {
 protected:
  QtDialogsTest() {
    std::filesystem::current_path(root);
    MakeFile(dir, "in.txd");
    MakeFile(dir, "sub/deep.txd");
    owner.show();
  }

  bool Choose(std::string& target, std::string_view title = INPUT_TITLE,
              std::string_view filter = INPUT_FILTER) {
    return dialogs.ChooseFile(title, filter, target);
  }

  identstrip::testing::TempDir dir;
  const std::string root = dir.Path().string();
  CurrentDirectoryGuard guard;
  ModalDriver driver;
  QWidget owner;
  PosixFileSystem file_system;
  QtOwnedWindow window{owner};
  StandardDialogs dialogs{window, file_system};
};

TEST_F(QtDialogsTest, ChooserHasTheOpenFileOptions) {
  struct Case {
    std::string_view title, filter;
    QStringList name_filters;
    QString first_type;
  };
  const Case cases[] = {
      {INPUT_TITLE, INPUT_FILTER, {"TXD/A (*.tx?)", "All Files (*)"}, "TXD/A"},
      {OUTPUT_TITLE, OUTPUT_FILTER, {"TXD (*.txd)", "All Files (*)"}, "TXD"},
  };
  for (const auto& c : cases) {
    driver.WhenNextOpens([&](QWidget* modal) {
      auto* chooser = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(chooser, nullptr);
      EXPECT_EQ(chooser->windowTitle().toStdString(), c.title);
      EXPECT_EQ(chooser->acceptMode(), QFileDialog::AcceptOpen);
      EXPECT_EQ(chooser->fileMode(), QFileDialog::ExistingFile);
      EXPECT_TRUE(chooser->defaultSuffix().isEmpty());
      EXPECT_TRUE(chooser->testOption(QFileDialog::DontUseNativeDialog));
      EXPECT_FALSE(chooser->testOption(QFileDialog::ReadOnly));
      EXPECT_EQ(chooser->nameFilters(), c.name_filters);
      // The type list shows the descriptions alone, the first one selected.
      EXPECT_EQ(chooser->selectedNameFilter(), c.first_type);
      EXPECT_TRUE(chooser->findChildren<QCheckBox*>().isEmpty());
      EXPECT_EQ(chooser->parentWidget(), &owner);
      EXPECT_TRUE(chooser->isModal());
      EXPECT_EQ(chooser->windowModality(), Qt::WindowModal);
      QTest::keyClick(NameBox(chooser), Qt::Key_Escape);
    });
    std::string target;
    EXPECT_FALSE(Choose(target, c.title, c.filter));
  }
}

TEST_F(QtDialogsTest, ChooserOpensWhereTheTargetPoints) {
  const std::string& cwd = root;
  struct Case {
    std::string target, folder, name;
  };
  const Case cases[] = {
      {"", cwd, ""},
      {cwd + "/sub", cwd + "/sub", ""},
      {cwd + "/sub/", cwd + "/sub", ""},
      {"sub", cwd + "/sub", ""},
      // A folder that does not exist gives way to the current directory.
      {cwd + "/missing/", cwd, ""},
      {cwd + "/in.txd", cwd, "in.txd"},
      {cwd + "/sub/deep.txd", cwd + "/sub", "deep.txd"},
      {"sub/deep.txd", cwd + "/sub", "deep.txd"},
      {"new.txd", cwd, "new.txd"},
      {cwd + "/missing/new.txd", cwd, "new.txd"},
  };
  for (const auto& c : cases) {
    driver.WhenNextOpens([&](QWidget* chooser) {
      EXPECT_EQ(FolderOf(chooser), c.folder) << "target '" << c.target << "'";
      EXPECT_EQ(NameBox(chooser)->text().toStdString(), c.name) << "target '" << c.target << "'";
      QTest::keyClick(NameBox(chooser), Qt::Key_Escape);
    });
    std::string target = c.target;
    EXPECT_FALSE(Choose(target));
    EXPECT_EQ(target, c.target);
  }
}

TEST_F(QtDialogsTest, ConfirmedNameBecomesTheTarget) {
  const std::string& cwd = root;
  struct Case {
    std::string target, typed, chosen;
  };
  const Case cases[] = {
      {cwd + "/in.txd", "", cwd + "/in.txd"},  // the initial name, confirmed at once
      {"", "in.txd", cwd + "/in.txd"},
      {"", "sub/deep.txd", cwd + "/sub/deep.txd"},
      {"old.txd", cwd + "/sub/deep.txd", cwd + "/sub/deep.txd"},
  };
  for (const auto& c : cases) {
    driver.WhenNextOpens([&](QWidget* chooser) {
      if (!c.typed.empty()) TypeName(chooser, c.typed);
      Click(Button(chooser, QDialogButtonBox::Open));
    });
    std::string target = c.target;
    EXPECT_TRUE(Choose(target)) << c.typed;
    EXPECT_EQ(target, c.chosen);
  }
}

TEST_F(QtDialogsTest, CancellingLeavesTheTarget) {
  const std::function<void(QWidget*)> ways[] = {
      [](QWidget* chooser) {
        TypeName(chooser, "sub/deep.txd");
        Click(Button(chooser, QDialogButtonBox::Cancel));
      },
      // With the initial name in the box, so that no completion list is open.
      [](QWidget* chooser) { QTest::keyClick(NameBox(chooser), Qt::Key_Escape); },
      [](QWidget* chooser) {
        TypeName(chooser, "sub/deep.txd");
        chooser->close();  // the close box
      },
  };
  for (const auto& cancel : ways) {
    driver.WhenNextOpens(cancel);
    std::string target = root + "/in.txd";
    const std::string before = target;
    EXPECT_FALSE(Choose(target));
    EXPECT_EQ(target, before);
  }
}

TEST_F(QtDialogsTest, ChooserRefusesNamesThatDoNotExist) {
  struct Case {
    std::string_view title, filter;
    std::string typed;
  };
  const Case cases[] = {
      {INPUT_TITLE, INPUT_FILTER, "missing.txd"},
      {OUTPUT_TITLE, OUTPUT_FILTER, "missing.txd"},
      {OUTPUT_TITLE, OUTPUT_FILTER, "nofolder/missing.txd"},
      {INPUT_TITLE, INPUT_FILTER, root + "/in.txd/inside"},
  };
  for (const auto& c : cases) {
    driver.WhenNextOpens([&](QWidget* chooser) {
      TypeName(chooser, c.typed);
      EXPECT_FALSE(Button(chooser, QDialogButtonBox::Open)->isEnabled()) << c.typed;

      QString told;
      driver.WhenNextOpens([&](QWidget* warning) {
        told = qobject_cast<QMessageBox*>(warning)->text();
        Click(qobject_cast<QMessageBox*>(warning)->buttons().front());
      });
      QTest::keyClick(NameBox(chooser), Qt::Key_Return);
      EXPECT_TRUE(told.contains("File not found")) << told.toStdString();
      EXPECT_TRUE(chooser->isVisible()) << c.typed;
      EXPECT_EQ(QApplication::activeModalWidget(), chooser);
      Click(Button(chooser, QDialogButtonBox::Cancel));
    });
    std::string target = "old.txd";
    EXPECT_FALSE(Choose(target, c.title, c.filter));
    EXPECT_EQ(target, "old.txd");
  }
}

TEST_F(QtDialogsTest, CurrentDirectoryStaysAfterMovingInsideTheChooser) {
  const std::string other = MakeFolder(dir, "other");
  MakeFile(dir, "other/else.txd");
  for (const bool confirm : {true, false}) {
    driver.WhenNextOpens([&](QWidget* chooser) {
      OpenFolder(chooser, other);  // a folder's name opens it; it is not chosen
      EXPECT_EQ(FolderOf(chooser), other);
      OpenFolder(chooser, "..");
      OpenFolder(chooser, "sub");
      EXPECT_EQ(FolderOf(chooser), root + "/sub");
      TypeName(chooser, "deep.txd");
      Click(Button(chooser, confirm ? QDialogButtonBox::Open : QDialogButtonBox::Cancel));
    });
    std::string target;
    EXPECT_EQ(Choose(target), confirm);
    EXPECT_EQ(target, confirm ? root + "/sub/deep.txd" : "");
    EXPECT_EQ(std::filesystem::current_path(), root);
  }
}

TEST_F(QtDialogsTest, LongPathsAreCutToTheTarget) {
  const std::string long_folder = MakeFolder(dir, std::string(120, 'f'));
  for (const std::size_t length : {254u, 255u, 259u, 260u}) {
    const std::size_t name_length = length - long_folder.size() - 1;
    const std::string path =
        MakeFile(dir, std::string(120, 'f') + "/" + std::string(name_length - 4, 'n') + ".txd");
    ASSERT_EQ(path.size(), length);
    driver.WhenNextOpens([&](QWidget* chooser) {
      TypeName(chooser, path);
      Click(Button(chooser, QDialogButtonBox::Open));
    });
    std::string target = "old.txd";
    const bool confirmed = Choose(target);
    if (length < NAME_BUFFER_SIZE) {
      EXPECT_TRUE(confirmed) << length;
      EXPECT_EQ(target, path.substr(0, 254)) << length;
    } else {
      // Too long for the chooser's buffer: as if it had failed.
      EXPECT_FALSE(confirmed) << length;
      EXPECT_EQ(target, "old.txd");
    }
  }
}

TEST_F(QtDialogsTest, FileHeldByAnotherOpenerCanBeChosen) {
  std::unique_ptr<File> held;
  ASSERT_EQ(file_system.OpenShared(root + "/in.txd", held), SUCCESS);
  driver.WhenNextOpens([&](QWidget* chooser) {
    TypeName(chooser, "in.txd");
    Click(Button(chooser, QDialogButtonBox::Open));
  });
  std::string target;
  EXPECT_TRUE(Choose(target));
  EXPECT_EQ(target, root + "/in.txd");
}

TEST_F(QtDialogsTest, TypesMatchAsTheSystemChooserMatches) {
  for (const char* name : {"Sales.TXD", "notes.txa", "readme", "data.csv"}) MakeFile(dir, name);
  driver.WhenNextOpens([&](QWidget* chooser) {
    const QStringList typed{"Sales.TXD", "in.txd", "notes.txa", "sub"};
    EXPECT_EQ(ListedNames(chooser, typed), typed);
    auto* types = chooser->findChild<QComboBox*>("fileTypeCombo");
    QTest::keyClick(types, Qt::Key_Down);
    EXPECT_EQ(types->currentText(), "All Files");
    const QStringList all{"Sales.TXD", "data.csv", "in.txd", "notes.txa", "readme", "sub"};
    EXPECT_EQ(ListedNames(chooser, all), all);
    QTest::keyClick(NameBox(chooser), Qt::Key_Escape);
  });
  std::string target;
  Choose(target);
}

TEST_F(QtDialogsTest, MessageBoxShowsTheStopIconAndOneDefaultOk) {
  struct Case {
    std::string_view text, caption;
    QStringList lines;
    QString shown_caption;
  };
  const Case cases[] = {
      {"An unexpected Error: 5 occured,|opening: /a/in.txd!   ",
       "Convert file   ",
       {"An unexpected Error: 5 occured,", "opening: /a/in.txd!"},
       "Convert file"},
      {"File not found!", "Convert file", {"File not found!"}, "Convert file"},
      {"An unexpected Error: 2 occured,|opening: <b>x</b>.txd!",
       "Convert file",
       {"An unexpected Error: 2 occured,", "opening: <b>x</b>.txd!"},
       "Convert file"},
  };
  for (const auto& c : cases) {
    driver.WhenNextOpens([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), c.shown_caption);
      EXPECT_EQ(box->icon(), QMessageBox::Critical);
      ASSERT_EQ(box->buttons().size(), 1);
      QAbstractButton* ok = box->buttons().front();
      EXPECT_EQ(ok->text().remove('&'), "OK");
      EXPECT_EQ(box->defaultButton(), ok);
      EXPECT_EQ(box->parentWidget(), &owner);
      EXPECT_EQ(box->windowModality(), Qt::WindowModal);

      auto* label = box->findChild<QLabel*>("qt_msgbox_label");
      EXPECT_EQ(label->textFormat(), Qt::PlainText);
      EXPECT_EQ(label->text().split('\n'), c.lines);
      // Shown as that many lines, not as one line with a stray character.
      const int line = label->fontMetrics().lineSpacing();
      EXPECT_GE(label->sizeHint().height(), line * c.lines.size());
      EXPECT_LT(label->sizeHint().height(), line * (c.lines.size() + 1));
      Click(ok);
    });
    EXPECT_EQ(dialogs.ShowMessage(c.text, c.caption), 1);
  }
}

TEST_F(QtDialogsTest, MessageBoxClosesFromTheKeyboard) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space}) {
    bool closed = false;
    driver.WhenNextOpens([&](QWidget* box) {
      QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key);
      closed = !box->isVisible();
    });
    EXPECT_EQ(dialogs.ShowMessage("File not found!", "Convert file"), 1);
    EXPECT_TRUE(closed) << key;
  }
}

}  // namespace
}  // namespace identstrip::ui
