// The git recipe of the README, in a real repository: with identstrip-cli as
// the textconv of *.txd and *.txa files, changed IDENTs make no diff.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/cli/cli_process.h"

namespace identstrip::cli::testing {
namespace {
namespace fs = std::filesystem;

class GitTextconv : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program by its name alone, as the recipe has it; no user or
    // system configuration of the machine.
    const char* path = std::getenv("PATH");
    environment_ = {"PATH=" + fs::path(CliPath()).parent_path().string() + ":" +
                        (path != nullptr ? path : "/usr/bin:/bin"),
                    "HOME=" + home_.Path().string(),
                    "GIT_CONFIG_NOSYSTEM=1",
                    "GIT_AUTHOR_NAME=Test",
                    "GIT_AUTHOR_EMAIL=test@example.invalid",
                    "GIT_COMMITTER_NAME=Test",
                    "GIT_COMMITTER_EMAIL=test@example.invalid",
                    "GIT_PAGER=cat",
                    "LC_ALL=C"};
    Git({"init", "-q"});
    Git({"config", "diff.clarion.textconv", "identstrip-cli --stdout"});
    WriteBytes(repository_.Path() / ".gitattributes", "*.txd diff=clarion\n*.txa diff=clarion\n");
  }

  std::string Git(const std::vector<std::string>& arguments) {
    const auto result =
        RunProgram("git", arguments, {.folder = repository_.Path(), .environment = environment_});
    EXPECT_EQ(result.exit_code, 0) << "git failed: " << result.errors;
    return result.output;
  }

  void Commit() {
    Git({"add", "-A"});
    Git({"commit", "-q", "-m", "export"});
  }

  TempDir home_;
  TempDir repository_;
  std::vector<std::string> environment_;
};

TEST_F(GitTextconv, ChangedIdentsMakeNoDiff) {
  WriteBytes(repository_.Path() / "app.txa",
             "!!> IDENT(1),PRE(APP)\r\n[PROCEDURE]\r\n!!> IDENT(2)\r\n");
  WriteBytes(repository_.Path() / "dict.txd", "!!> IDENT(10),PRE(CUS)\r\nNAME STRING(20)\r\n");
  Commit();
  WriteBytes(repository_.Path() / "app.txa",
             "!!> IDENT(81),PRE(APP)\r\n[PROCEDURE]\r\n!!> IDENT(92)\r\n");
  WriteBytes(repository_.Path() / "dict.txd", "!!> IDENT(99),PRE(CUS)\r\nNAME STRING(20)\r\n");

  EXPECT_EQ(Git({"diff"}), "");
  // Without the conversion git does see the files changed.
  EXPECT_NE(Git({"diff", "--no-textconv"}).find("+!!> IDENT(81),PRE(APP)"), std::string::npos);
}

TEST_F(GitTextconv, RealChangesStillShowWithoutIdents) {
  WriteBytes(repository_.Path() / "app.txa", "!!> IDENT(1),PRE(APP)\r\nold line\r\n");
  WriteBytes(repository_.Path() / "notes.txt", "!!> IDENT(1),kept\n");
  Commit();
  WriteBytes(repository_.Path() / "app.txa", "!!> IDENT(2),PRE(APP)\r\nnew line\r\n");
  WriteBytes(repository_.Path() / "notes.txt", "!!> IDENT(2),kept\n");

  const std::string diff = Git({"diff", "--", "app.txa"});
  EXPECT_NE(diff.find("-old line\r\n"), std::string::npos) << diff;
  EXPECT_NE(diff.find("+new line\r\n"), std::string::npos) << diff;
  EXPECT_NE(diff.find(" !!> PRE(APP)\r\n"), std::string::npos) << diff;
  EXPECT_EQ(diff.find("IDENT"), std::string::npos) << diff;
  // Files without the attribute are diffed as they are.
  EXPECT_NE(Git({"diff", "--", "notes.txt"}).find("+!!> IDENT(2),kept"), std::string::npos);
}

}  // namespace
}  // namespace identstrip::cli::testing
