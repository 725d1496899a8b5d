// Conversions run through the window on real files: the whole road of one
// conversion, failed starts, the output controls during a run, and closing the
// window in the middle of a job.
#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/window/main_window_fixture.h"
#include "ui/main_window_definition.h"

namespace identstrip::ui::testing {
namespace {

// Lines that pass the conversion unchanged, numbered so that a lost or
// repeated line shows.
std::string NumberedLines(int first, int count) {
  std::string text;
  for (int n = first; n < first + count; ++n) text += "Line " + std::to_string(n) + "\r\n";
  return text;
}

const Lines RUNNING_LOOK = {"disable ?PROMPT1",    "disable ?OLDFILENAME",
                            "disable ?LOOKUPFILE", "disable ?BUTTON:START",
                            "show ?STRING1",       "show ?PROGRESS:THERMOMETER",
                            "redisplay all",       "timer 1"};

const Lines IDLE_LOOK = {"hide ?STRING1",
                         "hide ?PROGRESS:THERMOMETER",
                         "enable ?PROMPT1",
                         "enable ?OLDFILENAME",
                         "enable ?LOOKUPFILE",
                         "enable ?BUTTON:START",
                         "redisplay ?NEWFILENAME \"\"",
                         "redisplay ?OLDFILENAME \"\"",
                         "focus ?OLDFILENAME"};

Lines Joined(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(MainWindowTest, OneConversionFromChoosingTheInputToTheIdleLook) {
  TempDir dir;
  const std::string input =
      Write(dir, "Sales.txd", "Sales\tfile   \r\n!!> IDENT(12),NAME('Sales')\r\nEND\r\n");
  const std::string proposed = dir.File("SalesNI.txd");
  screen.chooser_answers = {input};
  screen.script = {Opened(),
                   Sized(),
                   Pressed(LOOKUPFILE),
                   Pressed(BUTTON_START),
                   Check([&] {
                     for (int control : {PROMPT1, OLDFILENAME, LOOKUPFILE, BUTTON_START}) {
                       EXPECT_FALSE(screen.Enabled(control)) << ControlName(control);
                     }
                     for (int control : {STRING2, NEWFILENAME, LOOKUPFILE_2, BUTTON_CANCEL}) {
                       EXPECT_TRUE(screen.Enabled(control)) << ControlName(control);
                     }
                     EXPECT_TRUE(screen.Visible(STRING1));
                     EXPECT_TRUE(screen.Visible(PROGRESS_THERMOMETER));
                     EXPECT_EQ(screen.Shown(PROGRESS_THERMOMETER), "0");
                     EXPECT_EQ(screen.timer_period, 1);
                   }),
                   TicksWhileArmed{},
                   Timer(),
                   Pressed(BUTTON_START),
                   CloseRequest()};
  EXPECT_TRUE(Run());

  EXPECT_EQ(screen.From("> pressed ?LOOKUPFILE"),
            Joined({{"> pressed ?LOOKUPFILE",
                     "choose file \"Choose an Input TXD/TXA Clarion Text File\" "
                     "\"TXD/A|*.tx?|All Files|*.*\" from \"\"",
                     "redisplay ?NEWFILENAME " + Quoted(proposed),
                     "redisplay ?OLDFILENAME " + Quoted(input), "> pressed ?BUTTON:START"},
                    RUNNING_LOOK,
                    // Three lines and the failing read fit one slice; the bar moves
                    // once for every whole percent.
                    {"> timer", "timer 0", "redisplay ?PROGRESS:THERMOMETER 33",
                     "redisplay ?PROGRESS:THERMOMETER 66", "redisplay ?PROGRESS:THERMOMETER 100",
                     "timer 1", "> timer", "timer 0"},
                    IDLE_LOOK,
                    // A stray tick once idle does nothing; both names are empty again,
                    // so "Convert File" only moves the focus.
                    {"> timer", "> pressed ?BUTTON:START", "focus ?OLDFILENAME", "> close request",
                     "close"}}));
  EXPECT_EQ(ReadBytes(proposed), "Sales   file\r\n!!> NAME('Sales')\r\nEND\r\n");
  EXPECT_EQ(*screen.input_name, "");
  EXPECT_EQ(*screen.output_name, "");
  EXPECT_EQ(screen.focus, OLDFILENAME);
  EXPECT_EQ(screen.timer_period, 0);
}

TEST_F(MainWindowTest, AFailedStartKeepsTheNamesAndTheIdleLookAndCanBeRepeatedAtOnce) {
  TempDir dir;
  const std::string contents = NumberedLines(1, 3);
  const std::string input = Write(dir, "Sales.txd", contents);
  const std::string output = dir.File("SalesNI.txd");
  const std::string missing_input = dir.File("Missing.txd");
  const std::string input_in_missing_folder = dir.File("NoFolder/Sales.txd");
  const std::string output_in_missing_folder = dir.File("NoFolder/SalesNI.txd");
  const struct {
    const char* name;
    std::string input, output, message;
  } cases[] = {
      {"missing input", missing_input, output, "message \"File not found!\" \"Convert file\""},
      {"input in a missing folder", input_in_missing_folder, output,
       "message \"An unexpected Error: 3 occured,|opening: " + input_in_missing_folder +
           "!\" \"Convert file\""},
      {"output in a missing folder", input, output_in_missing_folder,
       "message \"An unexpected Error: 3 occured,|opening: " + output_in_missing_folder +
           "!\" \"Convert file\""},
      {"output onto the input", input, input,
       "message \"An unexpected Error: 5 occured,|opening: " + input + "!\" \"Convert file\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    screen = FakeScreen();
    std::filesystem::remove(output);
    screen.script = {Opened(), Type(OLDFILENAME, c.input), Type(NEWFILENAME, c.output),
                     Pressed(BUTTON_START), Check([&] {
                       EXPECT_EQ(*screen.input_name, c.input);
                       EXPECT_EQ(*screen.output_name, c.output);
                       EXPECT_EQ(screen.Shown(OLDFILENAME), Quoted(c.input));
                       EXPECT_EQ(screen.Shown(NEWFILENAME), Quoted(c.output));
                       EXPECT_EQ(screen.focus, OLDFILENAME);
                       EXPECT_EQ(screen.timer_period, 0);
                       EXPECT_FALSE(std::filesystem::exists(output));
                       EXPECT_EQ(ReadBytes(input), contents);
                     }),
                     // The user mends the names and presses again.
                     Type(OLDFILENAME, input), Type(NEWFILENAME, output), Pressed(BUTTON_START),
                     TicksWhileArmed{}, CloseRequest()};
    Run();
    EXPECT_EQ(screen.RequestsAfter("> pressed ?BUTTON:START"),
              (Lines{c.message, "focus ?OLDFILENAME"}));
    EXPECT_EQ(screen.RequestsAfter("> pressed ?BUTTON:START", 2), RUNNING_LOOK);
    EXPECT_EQ(ReadBytes(output), contents);
    EXPECT_EQ(ReadBytes(input), contents);
  }
}

TEST_F(MainWindowTest, TheOutputControlsStayUsableAndDoNotRedirectARunningJob) {
  TempDir dir;
  const std::string input = Write(dir, "Sales.txd", NumberedLines(1, 250));
  const std::string output = dir.File("SalesNI.txd");
  const std::string other = Write(dir, "Other.txd", "keep me\r\n");
  screen.chooser_answers = {other};
  screen.script = {Opened(),
                   Type(OLDFILENAME, input),
                   Type(NEWFILENAME, output),
                   Pressed(BUTTON_START),
                   Timer(),
                   Pressed(LOOKUPFILE_2),
                   Timer(),
                   Type(NEWFILENAME, dir.File("Typed.txd")),
                   TicksWhileArmed{},
                   CloseRequest()};
  Run();
  EXPECT_EQ(screen.RequestsAfter("> pressed ?LOOKUPFILE:2"),
            (Lines{"choose file \"Choose an Output TXD Text Dictionary File\" "
                   "\"TXD|*.txd|All Files|*.*\" from " +
                       Quoted(output),
                   "redisplay ?NEWFILENAME " + Quoted(other)}));
  EXPECT_EQ(ReadBytes(output), NumberedLines(1, 250));
  EXPECT_EQ(ReadBytes(other), "keep me\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("Typed.txd")));
  EXPECT_EQ(*screen.output_name, "") << "cleared with the input name at the finish";
}

TEST_F(MainWindowTest, PressesOfTheInputControlsQueuedBeforeTheRunningLookAreDropped) {
  TempDir dir;
  const std::string input = Write(dir, "Sales.txd", NumberedLines(1, 150));
  const std::string output = dir.File("SalesNI.txd");
  screen.script = {Opened(),
                   Type(OLDFILENAME, input),
                   Type(NEWFILENAME, output),
                   Pressed(BUTTON_START),
                   Pressed(LOOKUPFILE),
                   Pressed(BUTTON_START),
                   TicksWhileArmed{},
                   CloseRequest()};
  Run();
  EXPECT_EQ(screen.RequestsAfter("> pressed ?LOOKUPFILE"), Lines{});
  EXPECT_EQ(screen.RequestsAfter("> pressed ?BUTTON:START", 2), Lines{});
  EXPECT_EQ(ReadBytes(output), NumberedLines(1, 150));
}

TEST_F(MainWindowTest, ClosingDuringAJobEndsAtOnceAndLeavesWholeSlices) {
  const struct {
    const char* name;
    int input_lines, ticks, lines_kept;
  } cases[] = {
      {"before the first slice", 1000, 0, 0},
      {"after three slices", 1000, 3, 300},
      {"after the last slice, before the finish", 150, 2, 150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string input = Write(dir, "Big.txa", NumberedLines(1, c.input_lines));
    const std::string output = dir.File("BigNI.txa");
    screen = FakeScreen();
    screen.script = {Opened(), Type(OLDFILENAME, input), Type(NEWFILENAME, output),
                     Pressed(BUTTON_START)};
    for (int tick = 0; tick < c.ticks; ++tick) screen.script.push_back(Timer());
    screen.script.push_back(CloseRequest());
    EXPECT_TRUE(Run());

    EXPECT_EQ(screen.From("> close request"), (Lines{"> close request", "close"}));
    EXPECT_EQ(ReadBytes(output), NumberedLines(1, c.lines_kept));
    // Both files were let go: each can be opened for writing again.
    for (const std::string& path : {input, output}) {
      std::unique_ptr<File> file;
      EXPECT_EQ(SystemFileSystem().OpenShared(path, file), SUCCESS) << path;
    }
  }
}

}  // namespace
}  // namespace identstrip::ui::testing
