// Standard input and output: the failures that are theirs, the file that a
// redirection ties to them, the temporary file that holds standard input, and
// memory that stays flat however large the text. What the systems show
// differently is in posix/ and win32/.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/cli/cli_process.h"
#include "tests/cli/system_streams.h"

namespace identstrip::cli::testing {
namespace {
namespace fs = std::filesystem;

const std::string kInput = "!!> IDENT(7),PRE(A)\r\nline\r\n";
const std::string kConverted = "!!> PRE(A)\r\nline\r\n";

TEST(StandardOutput, ThatIsClosedIsAFailure) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  const auto result =
      RunCli({"--stdout", "a.txa"}, {.folder = folder.Path(), .output_closed = true});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors,
            "identstrip-cli: a.txa: An unexpected Error: 5 occured,\n"
            "writing: (standard output)!\n");
}

TEST(StandardOutput, AppendsToARedirectedFile) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  WriteBytes(folder.Path() / "log", "before\n");
  const auto result =
      RunCli({"a.txa", "-"}, {.folder = folder.Path(), .output_file = folder.Path() / "log"});
  ASSERT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(ReadBytes(folder.Path() / "log"), "before\n" + kConverted);
}

TEST(StandardOutput, AppendedToTheInputLeavesItAlone) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  const auto result = RunCli({"--stdout", "a.txa"},
                             {.folder = folder.Path(), .output_file = folder.Path() / "a.txa"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors,
            "identstrip-cli: a.txa: An unexpected Error: 5 occured,\n"
            "opening: " +
                NameRefusedWhenOutputIsAppendedTo("a.txa") + "!\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "a.txa"), kInput);
}

TEST(StandardInput, LeavesNoTemporaryFileBehind) {
  TempDir folder;
  fs::create_directory(folder.Path() / "tmp");
  WriteBytes(folder.Path() / "a.txa", kInput);
  const auto result = RunCli({"--stdout", "-"},
                             {.folder = folder.Path(),
                              .input_file = folder.Path() / "a.txa",
                              .environment = TemporaryFolderIn((folder.Path() / "tmp").string())});
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
                                                .environment = TemporaryFolderIn(missing)});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors,
            "identstrip-cli: (standard input): An unexpected Error: 3 occured,\n"
            "opening: " +
                SpoolNameShownFor(missing) + "!\n");
  EXPECT_FALSE(fs::exists(folder.Path() / "out.txa"));
}

TEST(StandardInput, FromTheOutputFileLeavesItAlone) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  const auto result =
      RunCli({"-", "a.txa"}, {.folder = folder.Path(), .input_file = folder.Path() / "a.txa"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.errors,
            "identstrip-cli: (standard input): An unexpected Error: 5 occured,\n"
            "opening: a.txa!\n");
  EXPECT_EQ(ReadBytes(folder.Path() / "a.txa"), kInput);
}

TEST(StandardInput, AndOutputOnOneFileLeaveItAlone) {
  TempDir folder;
  WriteBytes(folder.Path() / "a.txa", kInput);
  const auto result = RunCli({"--stdout", "-"}, {.folder = folder.Path(),
                                                 .input_file = folder.Path() / "a.txa",
                                                 .output_file = folder.Path() / "a.txa"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(ReadBytes(folder.Path() / "a.txa"), kInput);
}

TEST(StandardOutput, ACalledLikeTheStreamInputIsAFile) {
  TempDir folder;
  WriteBytes(folder.Path() / "(standard output)", kInput);
  const auto result = RunCli({"--stdout", "(standard output)"}, {.folder = folder.Path()});
  ASSERT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(result.output, kConverted);
}

// Writes `megabytes` of export-like lines.
void WriteLargeExport(const fs::path& path, int megabytes) {
  std::ofstream out(path, std::ios::binary);
  const std::string block =
      "!!> IDENT(4711),PRE(CUS),NAME('CUSTOMER')\r\n\tName\tSTRING(20)   \r\n!!> IDENT(4712)\r\n" +
      std::string(900, 'x') + "\r\n";
  for (std::size_t written = 0; written < static_cast<std::size_t>(megabytes) << 20;
       written += block.size()) {
    out << block;
  }
}

// The conversion streams through the line files' buffer: a text 24 times as
// large needs no more memory.
TEST(Memory, StaysFlatWhateverTheSize) {
  TempDir folder;
  WriteLargeExport(folder.Path() / "small.txa", 1);
  WriteLargeExport(folder.Path() / "large.txa", 24);
  const std::string null_device = "/dev/null";
  struct Way {
    const char* name;
    std::vector<std::string> arguments;
    bool from_standard_input;
  };
  for (const Way& way : {Way{"file to file", {"NAME.txa", "out.txa"}, false},
                         Way{"file to stdout", {"--stdout", "NAME.txa"}, false},
                         Way{"stdin to stdout", {"--stdout", "-"}, true}}) {
    long peak[2] = {0, 0};
    int run = 0;
    for (const char* name : {"small", "large"}) {
      std::vector<std::string> arguments = way.arguments;
      for (auto& argument : arguments) {
        if (argument == "NAME.txa") argument = std::string(name) + ".txa";
      }
      ProcessSetup setup{.folder = folder.Path(), .output_file = null_device};
      if (way.from_standard_input) setup.input_file = folder.Path() / (std::string(name) + ".txa");
      const auto result = RunCli(arguments, setup);
      ASSERT_EQ(result.exit_code, 0) << way.name << ": " << result.errors;
      peak[run++] = result.peak_memory_kib;
    }
    EXPECT_GT(peak[0], 0) << way.name << ": the peak was not measured";
    // Holding the input would cost 23 MiB more; the margin is for Wine, whose
    // working-set figure of a longer run wanders by about 2 MiB.
    EXPECT_LT(peak[1] - peak[0], 4096)
        << way.name << ": " << peak[0] << " KiB for 1 MiB, " << peak[1] << " KiB for 24 MiB";
  }
}

}  // namespace
}  // namespace identstrip::cli::testing
