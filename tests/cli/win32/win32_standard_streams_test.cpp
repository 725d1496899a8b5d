// The standard streams where Windows has its own ways: the temporary folder
// from TMP and TEMP, and a file that standard output is appended to, which the
// redirection itself holds open for writing.
#include <gtest/gtest.h>

#include "tests/cli/cli_process.h"

namespace identstrip::cli::testing {
namespace {
namespace fs = std::filesystem;

const std::string kInput = "!!> IDENT(7),PRE(A)\r\nline\r\n";
const std::string kConverted = "!!> PRE(A)\r\nline\r\n";

// The redirection may write the file, so the line file may not open it.
TEST(StandardOutput, AppendedToTheInputLeavesItAlone) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  const auto result = RunCli({"--stdout", "a.txa"},
                             {.folder = folder.Path(), .output_file = folder.Path() / "a.txa"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors,
            "identstrip-cli: a.txa: An unexpected Error: 5 occured,\n"
            "opening: a.txa!\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "a.txa"), kInput);
}

std::vector<std::string> TemporaryFolder(const std::string& folder) {
  return {"TMP=" + folder, "TEMP=" + folder};
}

TEST(StandardInput, LeavesNoTemporaryFileBehind) {
  TempDir folder;
  fs::create_directory(folder.Path() / "tmp");
  WriteBytes(folder.Path() / "a.txa", kInput);
  const auto result =
      RunCli({"--stdout", "-"}, {.folder = folder.Path(),
                                 .input_file = folder.Path() / "a.txa",
                                 .environment = TemporaryFolder((folder.Path() / "tmp").string())});
  ASSERT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(result.output, kConverted);
  EXPECT_TRUE(fs::is_empty(folder.Path() / "tmp"));
}

TEST(StandardInput, WithoutATempDirIsReported) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  const std::string missing = (folder.Path() / "missing").string();
  const auto result = RunCli({"-", "out.txa"}, {.folder = folder.Path(),
                                                .input_file = folder.Path() / "a.txa",
                                                .environment = TemporaryFolder(missing)});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors,
            "identstrip-cli: (standard input): An unexpected Error: 3 occured,\n"
            "opening: " +
                missing + "\\!\n");
  EXPECT_FALSE(fs::exists(folder.Path() / "out.txa"));
}

}  // namespace
}  // namespace identstrip::cli::testing
