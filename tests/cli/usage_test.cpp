// Command lines that are not usable, --help and --version.
#include <gtest/gtest.h>

#include "tests/cli/cli_process.h"

namespace identstrip::cli::testing {
namespace {
namespace fs = std::filesystem;

struct UsageCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string reason;
};

// Cases show by name in test output.
void PrintTo(const UsageCase& c, std::ostream* os) {
  *os << c.name;
}

class UsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageTest, ExitsWithTwoAndConvertsNothing) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", "!!> IDENT(1),A\r\n");
  WriteBytes(folder.Path() / "b.txa", "!!> IDENT(2),B\r\n");
  const auto result = RunCli(GetParam().arguments, {.folder = folder.Path()});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_EQ(result.errors, "identstrip-cli: " + GetParam().reason +
                               "\nTry 'identstrip-cli --help' for more information.\n");
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2)
      << "a file was written";
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, UsageTest,
    ::testing::Values(
        UsageCase{"Nothing", {}, "no input file given"},
        UsageCase{"OnlyAFolder", {"-o", "out"}, "no input file given"},
        UsageCase{"UnknownOption", {"-x", "a.txa"}, "unknown option '-x'"},
        // Without "--" a name with a leading dash is an option; nothing is
        // taken for a folder name.
        UsageCase{"DashNameWithoutDoubleDash", {"-old.txa", "a.txa"}, "unknown option '-old.txa'"},
        UsageCase{"FolderMissing", {"a.txa", "-o"}, "option '-o' needs a folder"},
        UsageCase{
            "LongFolderMissing", {"a.txa", "--output-dir"}, "option '--output-dir' needs a folder"},
        UsageCase{"EmptyFolder", {"--output-dir=", "a.txa"}, "the output folder name is empty"},
        UsageCase{
            "TwoFolders", {"-o", "x", "-o", "y", "a.txa"}, "more than one output folder given"},
        UsageCase{"StdoutWithoutInput", {"--stdout"}, "no input file given"},
        UsageCase{"StdoutWithTwoInputs",
                  {"--stdout", "a.txa", "b.txa"},
                  "--stdout takes exactly one input file"},
        UsageCase{"StdoutWithFolder",
                  {"--stdout", "-o", "x", "a.txa"},
                  "--stdout and an output folder cannot be used together"},
        UsageCase{"StandardInputWithoutOutput",
                  {"-"},
                  "standard input ('-') needs an OUTPUT or --stdout"},
        UsageCase{"StandardInputInBatch",
                  {"a.txa", "-", "b.txa"},
                  "standard input ('-') needs an OUTPUT or --stdout"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Help, DescribesTheOptionsExitCodesAndRecipe) {
  for (const char* option : {"--help", "-h"}) {
    const auto result = RunCli({"a.txa", option}, {});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.errors, "");
    for (const char* part :
         {"Usage: identstrip-cli INPUT OUTPUT", "-o, --output-dir DIR", "--stdout", "--version",
          "  0  every file was converted", "  1  at least one file could not be converted",
          "  2  the command line was not usable",
          "git config diff.clarion.textconv \"identstrip-cli --stdout\""}) {
      EXPECT_NE(result.output.find(part), std::string::npos) << option << " lacks: " << part;
    }
  }
}

TEST(Version, IsTheExecutablesVersion) {
  const auto result = RunCli({"--version"}, {});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.output, "identstrip-cli 1.3.0.0\n");
}

// After "--" nothing is an option.
TEST(DoubleDash, MakesOptionsNames) {
  TempDir folder;
  const auto result = RunCli({"--", "--help"}, {.folder = folder.Path()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors, "identstrip-cli: --help: File not found!\n");
}

}  // namespace
}  // namespace identstrip::cli::testing
