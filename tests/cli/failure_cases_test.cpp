// Files that cannot be converted: the message on standard error, exit code 1,
// nothing written for a failed open, and every input left as it was.
#include <gtest/gtest.h>

#include <functional>

#include "tests/cli/cli_process.h"

namespace identstrip::cli::testing {
namespace {
namespace fs = std::filesystem;

const std::string kInput = "!!> IDENT(7),PRE(A)\r\nline\r\n";

struct FailureCase {
  const char* name;
  // Prepares the folder beyond "a.txa", which every case has.
  std::function<void(const fs::path&)> prepare;
  std::vector<std::string> arguments;
  std::string expected_errors;
  std::vector<std::string> must_not_exist;
};

// Cases show by name in test output.
void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class FailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureTest, ReportsAndLeavesTheFilesAlone) {
  const FailureCase& failure = GetParam();
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  if (failure.prepare) failure.prepare(folder.Path());

  const auto result = RunCli(failure.arguments, {.folder = folder.Path()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors, failure.expected_errors);
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(ReadBytes(folder.Path() / "a.txa"), kInput) << "the input was changed";
  for (const auto& name : failure.must_not_exist) {
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder.Path() / name))) << name << " was written";
  }
}

void MakeReadOnly(const fs::path& file) {
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

INSTANTIATE_TEST_SUITE_P(
    Opening, FailureTest,
    ::testing::Values(
        FailureCase{"MissingInput",
                    nullptr,
                    {"missing.txa", "out.txa"},
                    "identstrip-cli: missing.txa: File not found!\n",
                    {"out.txa"}},
        FailureCase{"MissingInputNoProposalWritten",
                    nullptr,
                    {"missing.txa"},
                    "identstrip-cli: missing.txa: File not found!\n",
                    {"missingNI.txa"}},
        FailureCase{"InputInMissingFolder",
                    nullptr,
                    {"nodir/a.txa", "out.txa"},
                    "identstrip-cli: nodir/a.txa: An unexpected Error: 3 occured,\n"
                    "opening: nodir/a.txa!\n",
                    {"out.txa"}},
        FailureCase{"InputIsAFolder",
                    [](const fs::path& f) { fs::create_directory(f / "d.txa"); },
                    {"d.txa", "out.txa"},
                    "identstrip-cli: d.txa: An unexpected Error: 5 occured,\nopening: d.txa!\n",
                    {"out.txa"}},
        FailureCase{"ReadOnlyInput",
                    [](const fs::path& f) { MakeReadOnly(f / "a.txa"); },
                    {"a.txa", "out.txa"},
                    "identstrip-cli: a.txa: An unexpected Error: 5 occured,\nopening: a.txa!\n",
                    {"out.txa"}},
        FailureCase{"OutputInMissingFolder",
                    nullptr,
                    {"a.txa", "nodir/out.txa"},
                    "identstrip-cli: a.txa: An unexpected Error: 3 occured,\n"
                    "opening: nodir/out.txa!\n",
                    {"nodir"}},
        FailureCase{"OutputFolderMissing",
                    nullptr,
                    {"-o", "nodir", "a.txa"},
                    "identstrip-cli: a.txa: An unexpected Error: 3 occured,\n"
                    "opening: nodir/aNI.txa!\n",
                    {"nodir", "aNI.txa"}},
        FailureCase{"OutputIsAFolder",
                    [](const fs::path& f) { fs::create_directory(f / "d"); },
                    {"a.txa", "d"},
                    "identstrip-cli: a.txa: An unexpected Error: 5 occured,\nopening: d!\n",
                    {}},
        FailureCase{"OntoItself",
                    nullptr,
                    {"a.txa", "a.txa"},
                    "identstrip-cli: a.txa: An unexpected Error: 5 occured,\nopening: a.txa!\n",
                    {}},
        FailureCase{"OntoItselfSpelledOtherwise",
                    [](const fs::path& f) { fs::create_directory(f / "sub"); },
                    {"a.txa", "sub/../a.txa"},
                    "identstrip-cli: a.txa: An unexpected Error: 5 occured,\n"
                    "opening: sub/../a.txa!\n",
                    {}},
        FailureCase{"OntoItselfThroughALink",
                    [](const fs::path& f) { fs::create_hard_link(f / "a.txa", f / "link.txa"); },
                    {"a.txa", "link.txa"},
                    "identstrip-cli: a.txa: An unexpected Error: 5 occured,\nopening: link.txa!\n",
                    {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadOnlyOutput, StaysAsItWas) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  WriteBytes(folder.Path() / "out.txa", "kept\r\n");
  MakeReadOnly(folder.Path() / "out.txa");
  const auto result = RunCli({"a.txa", "out.txa"}, {.folder = folder.Path()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors,
            "identstrip-cli: a.txa: An unexpected Error: 5 occured,\nopening: out.txa!\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "out.txa"), "kept\r\n");
}

TEST(Batch, GoesOnAfterAFailureAndExitsWithOne) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  WriteBytes(folder.Path() / "c.txa", kInput);
  const auto result = RunCli({"a.txa", "missing.txa", "c.txa"}, {.folder = folder.Path()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors, "identstrip-cli: missing.txa: File not found!\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "aNI.txa"), "!!> PRE(A)\r\nline\r\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "cNI.txa"), "!!> PRE(A)\r\nline\r\n");
}

// A proposal that names another input of the same run would change that input.
TEST(Batch, NeverWritesOverAnotherInput) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  WriteBytes(folder.Path() / "aNI.txa", "other input\r\n");
  WriteBytes(folder.Path() / "b.txa", kInput);
  const auto result = RunCli({"a.txa", "aNI.txa", "b.txa"}, {.folder = folder.Path()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors,
            "identstrip-cli: a.txa: An unexpected Error: 5 occured,\nopening: aNI.txa!\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "aNI.txa"), "other input\r\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "aNINI.txa"), "other input\r\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "bNI.txa"), "!!> PRE(A)\r\nline\r\n");
}

// Two inputs with one file name go into one folder: the second would replace
// the first one's result without a word.
TEST(Batch, NeverReplacesTheOutputOfAnEarlierInput) {
  TempDir folder;
  fs::create_directories(folder.Path() / "x");
  fs::create_directories(folder.Path() / "y");
  fs::create_directories(folder.Path() / "out");
  WriteBytes(folder.Path() / "x/a.txa", "from x\r\n");
  WriteBytes(folder.Path() / "y/a.txa", "from y\r\n");
  const auto result = RunCli({"-o", "out", "x/a.txa", "y/a.txa"}, {.folder = folder.Path()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors,
            "identstrip-cli: y/a.txa: An unexpected Error: 5 occured,\nopening: out/aNI.txa!\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "out/aNI.txa"), "from x\r\n");
}

// The proposal is cut at 254 characters; the cut name could be any file.
TEST(Proposal, ThatWouldBeCutIsNotWritten) {
  TempDir folder;
  // A relative path of 256 characters from "/", whose full path is short
  // enough to be opened.
  const std::string relative_folder = folder.Path().string().substr(1);
  const std::size_t name_length = 256 - relative_folder.size() - 1;
  const std::string name = std::string(name_length - 4, 'n') + ".txa";
  WriteBytes(folder.Path() / name, kInput);
  const std::string input = relative_folder + "/" + name;
  const std::string cut = (input.substr(0, input.size() - 4) + "NI.txa").substr(0, 254);

  const auto result = RunCli({input}, {.folder = "/"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors, "identstrip-cli: " + input + ": An unexpected Error: 45 occured,\n" +
                               "opening: " + cut + "!\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace identstrip::cli::testing
