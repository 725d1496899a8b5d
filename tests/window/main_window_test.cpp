// The window's own behaviour: opening, the event loop, closing, the two
// choosers and the checks "Convert File" makes before it starts anything.
#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/window/main_window_fixture.h"
#include "ui/main_window_definition.h"

namespace identstrip::ui::testing {
namespace {

TEST_F(MainWindowTest, OpensIdleWithEmptyNamesAndFocusInTheInputEntry) {
  screen.script = {Opened(), Sized(), CloseRequest()};
  EXPECT_TRUE(Run());

  // The deferred refresh of the size report comes on top of the first one.
  EXPECT_EQ(screen.transcript, (Lines{"create", "open", "timer 0", "> opened", "redisplay all",
                                      "focus ?PROMPT1", "> sized", "post 1023", "> private 1023",
                                      "redisplay all", "> close request", "close"}));
  EXPECT_EQ(screen.focus, OLDFILENAME);
  EXPECT_EQ(screen.Shown(OLDFILENAME), "\"\"");
  EXPECT_EQ(screen.Shown(NEWFILENAME), "\"\"");
  EXPECT_EQ(screen.Shown(PROGRESS_THERMOMETER), "0");
  for (int control = PROMPT1; control <= BUTTON_CANCEL; ++control) {
    SCOPED_TRACE(ControlName(control));
    EXPECT_TRUE(screen.Enabled(control));
    EXPECT_EQ(screen.Visible(control), control != STRING1 && control != PROGRESS_THERMOMETER);
  }
  EXPECT_TRUE(screen.destroyed);
}

TEST_F(MainWindowTest, CreatesTheMainWindowFromItsDefinition) {
  screen.script = {CloseRequest()};
  FakeToolkit toolkit(screen);
  RunMainWindow(toolkit, SystemFileSystem(),
                [&](Window&) { return std::make_unique<ScriptedDialogs>(screen); });
  EXPECT_EQ(toolkit.definition, &MainWindowDefinition());
  ASSERT_NE(screen.input_name, nullptr);
  ASSERT_NE(screen.output_name, nullptr);
  ASSERT_NE(screen.shown_percent, nullptr);
  EXPECT_NE(screen.input_name, screen.output_name);
}

TEST_F(MainWindowTest, FullRedisplaysFollowTheWindowsEvents) {
  const struct {
    const char* name;
    std::vector<Event> events;
    Lines expected;  // after the timer has been stopped at opening
  } cases[] = {
      {"focus gained before opening makes the first redisplay",
       {FocusGained(), Opened()},
       {"> focus gained", "redisplay all", "> opened", "focus ?PROMPT1"}},
      {"focus gained after opening redisplays again",
       {Opened(), FocusGained()},
       {"> opened", "redisplay all", "focus ?PROMPT1", "> focus gained", "redisplay all"}},
      {"each size report leads to one more redisplay, when the posted event arrives",
       {Sized(), Sized()},
       {"> sized", "post 1023", "> private 1023", "redisplay all", "> sized", "post 1023",
        "> private 1023", "redisplay all"}},
      {"a refresh event from elsewhere redisplays too",
       {Posted(DEFERRED_REFRESH_EVENT)},
       {"> private 1023", "redisplay all"}},
      {"other private events, accepted entries and the other controls do nothing",
       {Posted(1022), Accepted(OLDFILENAME), Accepted(NEWFILENAME), Pressed(PROMPT1),
        Pressed(NEWFILENAME), Pressed(BUTTON_CANCEL)},
       {"> private 1022", "> accepted ?OLDFILENAME", "> accepted ?NEWFILENAME",
        "> pressed ?PROMPT1", "> pressed ?NEWFILENAME", "> pressed ?BUTTON:CANCEL"}},
      {"timer events while no job runs change nothing, the timer included",
       {Timer(), Timer()},
       {"> timer", "> timer"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    screen = FakeScreen();
    screen.script.assign(c.events.begin(), c.events.end());
    screen.script.push_back(CloseRequest());
    Run();
    Lines expected = c.expected;
    expected.insert(expected.begin(), {"create", "open", "timer 0"});
    expected.insert(expected.end(), {"> close request", "close"});
    EXPECT_EQ(screen.transcript, expected);
  }
}

TEST_F(MainWindowTest, CloseRequestClosesAtOnceAndEndsTheProgram) {
  screen.script = {Opened(), Type(OLDFILENAME, "/a/in.txd"), CloseRequest(), Opened(), Timer()};
  EXPECT_TRUE(Run());
  EXPECT_EQ(screen.From("> close request"), (Lines{"> close request", "close"}));
  EXPECT_EQ(screen.script.size(), 2u) << "no event may be handled after the close";
  EXPECT_FALSE(screen.open);
  EXPECT_TRUE(screen.destroyed);
}

TEST_F(MainWindowTest, AWindowTheToolkitRefusesEndsTheProgramAtOnce) {
  screen.refuse_window = true;
  FakeToolkit toolkit(screen);
  bool dialogs_made = false;
  EXPECT_FALSE(RunMainWindow(toolkit, SystemFileSystem(), [&](Window&) {
    dialogs_made = true;
    return std::make_unique<ScriptedDialogs>(screen);
  }));
  EXPECT_EQ(screen.transcript, Lines{"create"});
  EXPECT_FALSE(dialogs_made);
}

TEST_F(MainWindowTest, ChoosingTheInputProposesTheOutputReplacingWhatItHeld) {
  screen.chooser_answers = {"C:\\Apps\\Sales.TXD"};
  screen.script = {Opened(), Type(OLDFILENAME, "C:\\Apps\\Old.txd"),
                   Type(NEWFILENAME, "C:\\Apps\\Mine.txd"), Pressed(LOOKUPFILE), CloseRequest()};
  Run();
  EXPECT_EQ(screen.RequestsAfter("> pressed ?LOOKUPFILE"),
            (Lines{"choose file \"Choose an Input TXD/TXA Clarion Text File\" "
                   "\"TXD/A|*.tx?|All Files|*.*\" from \"C:\\Apps\\Old.txd\"",
                   "redisplay ?NEWFILENAME \"C:\\Apps\\SalesNI.TXD\"",
                   "redisplay ?OLDFILENAME \"C:\\Apps\\Sales.TXD\""}));
  EXPECT_EQ(*screen.input_name, "C:\\Apps\\Sales.TXD");
  EXPECT_EQ(*screen.output_name, "C:\\Apps\\SalesNI.TXD");
}

TEST_F(MainWindowTest, TheProposalLooksForTheDotInTheFileNameAndFitsTheEntry) {
  const std::string long_folder = "/" + std::string(249, 'a');
  const struct {
    std::string chosen, proposed;
  } cases[] = {
      {"C:\\Work.old\\Sales.txa", "C:\\Work.old\\SalesNI.txa"},
      {"/work/data.old/Sales.txa", "/work/data.old/SalesNI.txa"},
      {"C:\\Apps\\Sales.text", "C:\\Apps\\SalesNI.tex"},
      {"/a/Sales", "/a/SalesNI"},
      {long_folder + ".txd", long_folder + "NI.t"},  // 254 characters chosen, cut to 254
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    screen = FakeScreen();
    screen.chooser_answers = {c.chosen};
    screen.script = {Opened(), Pressed(LOOKUPFILE), CloseRequest()};
    Run();
    EXPECT_EQ(*screen.output_name, c.proposed);
    EXPECT_EQ(screen.Shown(NEWFILENAME), Quoted(c.proposed));
  }
}

TEST_F(MainWindowTest, AnInputChoiceThatGivesNoNameChangesNothing) {
  const struct {
    const char* name;
    std::optional<std::string> answer;
    std::string input_after;
  } cases[] = {
      {"cancelled", std::nullopt, "C:\\Apps\\Old.txd"},
      {"confirmed a blank name", "   ", "   "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    screen = FakeScreen();
    screen.chooser_answers = {c.answer};
    screen.script = {Opened(), Type(OLDFILENAME, "C:\\Apps\\Old.txd"),
                     Type(NEWFILENAME, "C:\\Apps\\Mine.txd"), Pressed(LOOKUPFILE), CloseRequest()};
    Run();
    const Lines requests = screen.RequestsAfter("> pressed ?LOOKUPFILE");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].starts_with("choose file ")) << requests[0];
    EXPECT_EQ(*screen.input_name, c.input_after);
    EXPECT_EQ(*screen.output_name, "C:\\Apps\\Mine.txd");
    EXPECT_EQ(screen.Shown(OLDFILENAME), "\"C:\\Apps\\Old.txd\"");
    EXPECT_EQ(screen.Shown(NEWFILENAME), "\"C:\\Apps\\Mine.txd\"");
  }
}

TEST_F(MainWindowTest, TypingAnInputNameProposesNothing) {
  screen.script = {Opened(), Type(OLDFILENAME, "C:\\Apps\\Sales.TXD"), Accepted(OLDFILENAME),
                   CloseRequest()};
  Run();
  EXPECT_EQ(screen.RequestsAfter("> accepted ?OLDFILENAME"), Lines{});
  EXPECT_EQ(*screen.output_name, "");
}

TEST_F(MainWindowTest, ChoosingTheOutputRedisplaysOnlyItsEntry) {
  screen.chooser_answers = {"/data/Other.txd", std::nullopt};
  screen.script = {Opened(),
                   Type(OLDFILENAME, "/data/Sales.txd"),
                   Type(NEWFILENAME, "/data/Mine.txd"),
                   Pressed(LOOKUPFILE_2),
                   Pressed(LOOKUPFILE_2),
                   CloseRequest()};
  Run();
  EXPECT_EQ(screen.RequestsAfter("> pressed ?LOOKUPFILE:2"),
            (Lines{"choose file \"Choose an Output TXD Text Dictionary File\" "
                   "\"TXD|*.txd|All Files|*.*\" from \"/data/Mine.txd\"",
                   "redisplay ?NEWFILENAME \"/data/Other.txd\""}));
  // Cancelled the second time: nothing changes.
  EXPECT_EQ(screen.RequestsAfter("> pressed ?LOOKUPFILE:2", 2),
            (Lines{"choose file \"Choose an Output TXD Text Dictionary File\" "
                   "\"TXD|*.txd|All Files|*.*\" from \"/data/Other.txd\""}));
  EXPECT_EQ(*screen.input_name, "/data/Sales.txd");
  EXPECT_EQ(*screen.output_name, "/data/Other.txd");
}

TEST_F(MainWindowTest, ConvertWithABlankNameOnlyMovesTheFocus) {
  TempDir dir;
  const std::string input = Write(dir, "in.txd", "line\r\n");
  const std::string output = dir.File("out.txd");
  const struct {
    std::string input, output;
    const char* focus_request;
    int focus;
  } cases[] = {
      {"", output, "focus ?OLDFILENAME", OLDFILENAME},
      {"    ", output, "focus ?OLDFILENAME", OLDFILENAME},
      {"", "", "focus ?OLDFILENAME", OLDFILENAME},
      {"  ", "  ", "focus ?OLDFILENAME", OLDFILENAME},
      {input, "", "focus ?NEWFILENAME", NEWFILENAME},
      {input, "   ", "focus ?NEWFILENAME", NEWFILENAME},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("input \"" + c.input + "\", output \"" + c.output + "\"");
    screen = FakeScreen();
    screen.script = {Opened(), Type(OLDFILENAME, c.input), Type(NEWFILENAME, c.output),
                     Pressed(BUTTON_START), CloseRequest()};
    Run();
    EXPECT_EQ(screen.RequestsAfter("> pressed ?BUTTON:START"), Lines{c.focus_request});
    EXPECT_EQ(screen.focus, c.focus);
    EXPECT_EQ(*screen.input_name, c.input);
    EXPECT_EQ(*screen.output_name, c.output);
    EXPECT_FALSE(std::filesystem::exists(output));
  }
}

}  // namespace
}  // namespace identstrip::ui::testing
