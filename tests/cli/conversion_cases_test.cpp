// What identstrip-cli writes, byte for byte, in each of its ways of naming the
// input and the output.
#include <gtest/gtest.h>

#include <functional>

#include "conversion/conversion_job.h"
#include "conversion/file_system.h"
#include "tests/cli/cli_process.h"

namespace identstrip::cli::testing {
namespace {
namespace fs = std::filesystem;

struct ContentCase {
  const char* name;
  std::string input;
  std::string expected;
};

// Cases show by name in test output.
void PrintTo(const ContentCase& c, std::ostream* os) {
  *os << c.name;
}

class ContentTest : public ::testing::TestWithParam<ContentCase> {};

TEST_P(ContentTest, WritesTheConvertedBytes) {
  TempDir folder;
  WriteBytes(folder.Path() / "in.txa", GetParam().input);
  const auto result = RunCli({"in.txa", "out.txa"}, {.folder = folder.Path()});
  EXPECT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(result.errors, "");
  EXPECT_EQ(ReadBytes(folder.Path() / "out.txa"), GetParam().expected);
  EXPECT_EQ(ReadBytes(folder.Path() / "in.txa"), GetParam().input) << "the input was changed";
}

const std::string kLongLine(6000, 'X');

INSTANTIATE_TEST_SUITE_P(
    Lines, ContentTest,
    ::testing::Values(
        ContentCase{"Empty", "", ""},
        ContentCase{"IdentWithComma", "!!> IDENT(12),PRE(CUS)\r\n", "!!> PRE(CUS)\r\n"},
        ContentCase{"IdentWithoutCommaDisappears", "A\r\n!!> IDENT(3)\r\nB\r\n", "A\r\nB\r\n"},
        ContentCase{"IdentKeepsBlanksAfterComma", "!!> IDENT(1),  X\r\n", "!!>   X\r\n"},
        ContentCase{"OnlyTheExactPrefixCounts", "!!> ident(1),X\r\n !!> IDENT(1),X\r\n",
                    "!!> ident(1),X\r\n !!> IDENT(1),X\r\n"},
        ContentCase{"LastLineGetsItsTerminator", "AB\r\nCD", "AB\r\nCD\r\n"},
        ContentCase{"TabsExpandTrailingBlanksGo", "A\tB \t \r\n1234567\tX\r\n",
                    "A       B\r\n1234567 X\r\n"},
        ContentCase{"LoneLineFeedIsText", "A\nB\r\nC\rD\r\n", "A\nB\r\nC\rD\r\n"},
        ContentCase{"CtrlZEndsLineAndText",
                    "A\x1A"
                    "B\r\nC\r\n\x1A"
                    "D\r\n",
                    "A\r\nB\r\nC\r\n"},
        ContentCase{"LongLineIsCut", kLongLine + "\r\nY\r\n", std::string(5012, 'X') + "\r\nY\r\n"},
        ContentCase{"HighBytesAndNulPass", std::string("\xE4\xF6\0Z\r\n", 6),
                    std::string("\xE4\xF6\0Z\r\n", 6)}),
    [](const auto& info) { return std::string(info.param.name); });

// A small export with every kind of line the conversion treats differently.
const std::string kExport =
    "!!> IDENT(1),VERSION(1)\r\n"
    "[DICTIONARY]\r\n"
    "!!> IDENT(24),PRE(CUS),NAME('CUSTOMER')   \r\n"
    "\tName\tSTRING(20)\r\n"
    "!!> IDENT(25)\r\n"
    "KEY(CUS:Name)\x1A"
    "End\r\n";

// The bytes that the conversion job writes for `input`, run in this process.
std::string ConvertedByTheJob(const TempDir& folder, const std::string& input) {
  struct QuietWindow final : JobWindow {
    void ShowMessage(std::string_view, std::string_view) override { ADD_FAILURE(); }
    void ShowRunningLook() override {}
    void ShowIdleLook() override {}
    void SetTimerPeriod(int) override {}
    void RedisplayProgress() override {}
  } window;
  const std::string input_name = (folder.Path() / "job-in.txa").string();
  const std::string output_name = (folder.Path() / "job-out.txa").string();
  WriteBytes(input_name, input);
  ConversionJob job(SystemFileSystem(), input_name, output_name, window);
  job.StartConversion();
  while (job.State() != JobState::Idle) job.HandleTick();
  return ReadBytes(output_name);
}

TEST(ConvertedBytes, AreTheBytesTheWindowsJobWrites) {
  TempDir folder;
  const std::string by_the_job = ConvertedByTheJob(folder, kExport);
  EXPECT_EQ(by_the_job,
            "!!> VERSION(1)\r\n[DICTIONARY]\r\n!!> PRE(CUS),NAME('CUSTOMER')\r\n"
            "        Name    STRING(20)\r\nKEY(CUS:Name)\r\nEnd\r\n");

  WriteBytes(folder.Path() / "in.txa", kExport);
  const auto result = RunCli({"in.txa", "out.txa"}, {.folder = folder.Path()});
  ASSERT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(ReadBytes(folder.Path() / "out.txa"), by_the_job);
}

// One way of naming the files: the arguments, where the input comes from and
// where the converted text is found afterwards.
struct NamingCase {
  const char* name;
  std::vector<std::string> arguments;
  bool input_from_standard_input;
  // The converted file, relative to the folder; empty for standard output.
  std::string converted;
};

// Cases show by name in test output.
void PrintTo(const NamingCase& c, std::ostream* os) {
  *os << c.name;
}

class NamingTest : public ::testing::TestWithParam<NamingCase> {};

TEST_P(NamingTest, ConvertsTheInputIntoTheNamedPlace) {
  const NamingCase& naming = GetParam();
  TempDir folder;
  fs::create_directories(folder.Path() / "sub.d");
  fs::create_directories(folder.Path() / "out");
  for (const char* input : {"Sales.TXA", "sub.d/Stock.txd", "-dash.txa"}) {
    WriteBytes(folder.Path() / input, kExport);
  }
  const std::string expected = ConvertedByTheJob(folder, kExport);

  ProcessSetup setup{.folder = folder.Path()};
  if (naming.input_from_standard_input) setup.input_file = folder.Path() / "Sales.TXA";
  const auto result = RunCli(naming.arguments, setup);
  ASSERT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(result.errors, "");
  if (naming.converted.empty()) {
    EXPECT_EQ(result.output, expected);
  } else {
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(ReadBytes(folder.Path() / naming.converted), expected);
  }
  EXPECT_EQ(ReadBytes(folder.Path() / "Sales.TXA"), kExport);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, NamingTest,
    ::testing::Values(
        NamingCase{"InputOutput", {"Sales.TXA", "converted.txa"}, false, "converted.txa"},
        NamingCase{"OneInputToItsProposal", {"Sales.TXA"}, false, "SalesNI.TXA"},
        NamingCase{"ProposalBesideTheInput", {"sub.d/Stock.txd"}, false, "sub.d/StockNI.txd"},
        NamingCase{"IntoFolder", {"-o", "out", "sub.d/Stock.txd"}, false, "out/StockNI.txd"},
        NamingCase{
            "IntoFolderWithSlash", {"--output-dir=out/", "Sales.TXA"}, false, "out/SalesNI.TXA"},
        NamingCase{"OptionAfterInput", {"Sales.TXA", "-o", "out"}, false, "out/SalesNI.TXA"},
        NamingCase{"LeadingDashAfterDoubleDash", {"--", "-dash.txa"}, false, "-dashNI.txa"},
        NamingCase{"LeadingDashOutput", {"--", "Sales.TXA", "-out.txa"}, false, "-out.txa"},
        NamingCase{"StdoutOption", {"--stdout", "Sales.TXA"}, false, ""},
        NamingCase{"DashAsOutput", {"Sales.TXA", "-"}, false, ""},
        NamingCase{"StandardInputToStdout", {"--stdout", "-"}, true, ""},
        NamingCase{"StandardInputToDash", {"-", "-"}, true, ""},
        NamingCase{"StandardInputToFile", {"-", "from-stdin.txa"}, true, "from-stdin.txa"},
        NamingCase{"FileCalledLikeAStream", {"-", "(standard input)"}, true, "(standard input)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Batch, ConvertsEveryInputToItsProposal) {
  TempDir folder;
  fs::create_directories(folder.Path() / "b");
  WriteBytes(folder.Path() / "one.txa", "!!> IDENT(1),A\r\n");
  WriteBytes(folder.Path() / "two.txd", "!!> IDENT(2),B\r\n");
  WriteBytes(folder.Path() / "b/three.txa", "!!> IDENT(3),C\r\n");
  const auto result = RunCli({"one.txa", "two.txd", "b/three.txa"}, {.folder = folder.Path()});
  ASSERT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(ReadBytes(folder.Path() / "oneNI.txa"), "!!> A\r\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "twoNI.txd"), "!!> B\r\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "b/threeNI.txa"), "!!> C\r\n");
}

TEST(ExistingOutput, IsReplacedWhole) {
  TempDir folder;
  WriteBytes(folder.Path() / "in.txa", "new\r\n");
  WriteBytes(folder.Path() / "out.txa", "older and longer content\r\n");
  const auto result = RunCli({"in.txa", "out.txa"}, {.folder = folder.Path()});
  ASSERT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(ReadBytes(folder.Path() / "out.txa"), "new\r\n");
}

}  // namespace
}  // namespace identstrip::cli::testing
