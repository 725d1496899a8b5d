// identstrip-cli against names that look like options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/line_model.h"

namespace identstrip::cli::testing {
namespace {
namespace fs = std::filesystem;

const std::string kSmall = "!!> IDENT(7),PRE(A)\r\nline\r\n";

// Names that begin with a dash are names after "--" or behind a folder, and
// an option otherwise, which converts nothing.
TEST(LeadingDash, NamesThatLookLikeOptions) {
  const struct {
    const char* what;
    std::vector<std::string> arguments;
    int exit_code;
    std::string written;  // the file that holds the conversion, if any
  } cases[] = {
      {"both names after --", {"--", "-in.txa", "-out.txa"}, 0, "-out.txa"},
      {"one name after --", {"--", "-in.txa"}, 0, "-inNI.txa"},
      {"a name behind its folder", {"./-in.txa", "./--x"}, 0, "--x"},
      {"a name taken as an option", {"-in.txa", "out.txa"}, 2, ""},
      {"a double dash name taken as an option", {"--in.txa"}, 2, ""},
  };
  for (const auto& c : cases) {
    TempDir folder;
    WriteBytes(folder.Path() / "-in.txa", kSmall);
    WriteBytes(folder.Path() / "--in.txa", kSmall);
    const auto result = RunCli(c.arguments, {.folder = folder.Path()});
    EXPECT_EQ(result.exit_code, c.exit_code) << c.what << ": " << result.errors;
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path())) ++files;
    EXPECT_EQ(files, c.written.empty() ? 2u : 3u) << c.what;
    if (!c.written.empty()) {
      EXPECT_EQ(ReadBytes(folder.Path() / c.written), identstrip::testing::ModelConvert(kSmall))
          << c.what;
    }
    EXPECT_EQ(ReadBytes(folder.Path() / "-in.txa"), kSmall) << c.what;
    EXPECT_EQ(ReadBytes(folder.Path() / "--in.txa"), kSmall) << c.what;
  }
}

}  // namespace
}  // namespace identstrip::cli::testing
