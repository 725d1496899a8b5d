// Whole conversions of files and names that a careless or hostile user might
// pick: each either converts to exactly what the model says or fails with
// its code and the message naming the file, leaves no file open and never
// changes its input. The ctest timeout catches a conversion that hangs.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "conversion/conversion_job.h"
#include "conversion/job_messages.h"
#include "conversion/posix/posix_file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/job_driver.h"
#include "tests/support/line_model.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::Requests;
using testing::TempDir;
using testing::WriteBytes;

const std::string kExport = "!!> IDENT(1),PRE(A)\r\n\tName STRING(20)  \r\n!!> IDENT(2)\r\nEND\r\n";

std::string Message(const std::string& text) {
  return "message " + std::string(MESSAGE_CAPTION) + ": " + text;
}
std::string OpenFailure(ResultCode code, const std::string& path) {
  return Message(UnexpectedErrorText(code, ACTION_OPENING, path));
}

class HostileInputTest : public ::testing::Test {
 protected:
  HostileInputTest() : job_(files_, input_name_, output_name_, window_) {
    window_.Watch(job_.ShownPercent());
  }

  // Converts `input` into `output`; returns the messages shown.
  Requests Convert(const std::string& input, const std::string& output) {
    input_name_ = input;
    output_name_ = output;
    job_.StartConversion();
    testing::TickToTheEnd(job_, 1000);
    EXPECT_EQ(job_.State(), JobState::Idle) << input << " -> " << output;
    EXPECT_EQ(files_.OpenFiles(), 0) << input << " -> " << output;
    return window_.TakeMessages();
  }

  TempDir dir_;
  testing::FaultyFileSystem files_{SystemFileSystem()};
  std::string input_name_, output_name_;
  testing::RecordingWindow window_;
  ConversionJob job_;
};

// Things that are not ordinary files, as the input or as the output.
TEST_F(HostileInputTest, WhatIsNotAFileIsRefusedWithItsCode) {
  const std::string in = dir_.File("in.txa");
  const std::string out = dir_.File("out.txa");
  WriteBytes(in, kExport);
  const std::string fifo = dir_.File("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
  const std::string folder = dir_.File("folder");
  fs::create_directory(folder);
  const std::string loop = dir_.File("loop");
  fs::create_symlink(loop, loop);
  const std::string loop_a = dir_.File("loop-a"), loop_b = dir_.File("loop-b");
  fs::create_symlink(loop_b, loop_a);
  fs::create_symlink(loop_a, loop_b);
  const std::string link_to_input = dir_.File("link.txa");
  fs::create_symlink(in, link_to_input);
  const std::string hard_link_to_input = dir_.File("hard.txa");
  fs::create_hard_link(in, hard_link_to_input);
  const std::string socket_path = dir_.File("socket");
  const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  socket_path.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

  const struct {
    const char* what;
    std::string input, output, message;
  } cases[] = {
      {"a FIFO as input", fifo, out, OpenFailure(ERR_ACCESS_DENIED, fifo)},
      {"a FIFO as output", in, fifo, OpenFailure(ERR_ACCESS_DENIED, fifo)},
      {"an endless device as input", "/dev/zero", out, OpenFailure(ERR_ACCESS_DENIED, "/dev/zero")},
      {"an empty device as input", "/dev/null", out, OpenFailure(ERR_ACCESS_DENIED, "/dev/null")},
      {"a device as output", in, "/dev/null", OpenFailure(ERR_ACCESS_DENIED, "/dev/null")},
      {"a full device as output", in, "/dev/full", OpenFailure(ERR_ACCESS_DENIED, "/dev/full")},
      {"a socket as input", socket_path, out, OpenFailure(ENXIO, socket_path)},
      {"a folder as input", folder, out, OpenFailure(ERR_ACCESS_DENIED, folder)},
      {"a folder as output", in, folder, OpenFailure(ERR_ACCESS_DENIED, folder)},
      {"a symlink to itself as input", loop, out, OpenFailure(ERR_PATH_NOT_FOUND, loop)},
      {"a symlink to itself as output", in, loop, OpenFailure(ERR_PATH_NOT_FOUND, loop)},
      {"two symlinks in a ring as input", loop_a, out, OpenFailure(ERR_PATH_NOT_FOUND, loop_a)},
      {"a symlink to the input as output", in, link_to_input,
       OpenFailure(ERR_ACCESS_DENIED, link_to_input)},
      {"a hard link to the input as output", in, hard_link_to_input,
       OpenFailure(ERR_ACCESS_DENIED, hard_link_to_input)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Convert(c.input, c.output), Requests{c.message}) << c.what;
    EXPECT_FALSE(fs::exists(out)) << c.what << ": no output is left behind";
    EXPECT_EQ(ReadBytes(in), kExport) << c.what;
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(fs::is_symlink(loop) && fs::is_symlink(link_to_input));
  close(listener);
}

// Names of every awkward kind convert like any other; the messages show them
// exactly as given.
TEST_F(HostileInputTest, AwkwardNamesConvert) {
  const std::string names[] = {
      "my export file.txa",
      "it's \"quoted\".txa",
      "caf\xe9 latin-1.txa",
      "gr\xc3\xbc\xc3\x9f"
      "e.txd",
      "-leading-dash.txa",
      "--",
      "pipe|in name.txa",
      "new\nline.txa",
      "star*and?mark.txa",
      "back\\slash.txa",
      ".hidden",
      " leading blank.txa",
      "trailing blank.txa ",
      "$HOME.txa",
      "semi;colon.txa",
      "100%.txa",
  };
  const std::string expected = testing::ModelConvert(kExport);
  for (const std::string& name : names) {
    const std::string in = dir_.File(name);
    const std::string out = dir_.File("out " + name);
    WriteBytes(in, kExport);
    EXPECT_EQ(Convert(in, out), Requests{}) << name;
    EXPECT_EQ(ReadBytes(out), expected) << name;
    EXPECT_EQ(ReadBytes(in), kExport) << name;

    const std::string nowhere = dir_.File("no folder " + name + "/" + name);
    EXPECT_EQ(Convert(in, nowhere), Requests{OpenFailure(ERR_PATH_NOT_FOUND, nowhere)}) << name;
    EXPECT_EQ(Convert(dir_.File("missing " + name), out), Requests{Message("File not found!")});
  }
}

TEST_F(HostileInputTest, RelativeNamesWithALeadingDashConvert) {
  const fs::path before = fs::current_path();
  fs::current_path(dir_.Path());
  WriteBytes("-i", kExport);
  const Requests messages = Convert("-i", "--output=x");
  fs::current_path(before);
  EXPECT_EQ(messages, Requests{});
  EXPECT_EQ(ReadBytes(dir_.File("--output=x")), testing::ModelConvert(kExport));
  EXPECT_EQ(ReadBytes(dir_.File("-i")), kExport);
}

TEST_F(HostileInputTest, AFullPathOf260CharactersConvertsButNot261) {
  const std::string in_260 = testing::PathOfLength(dir_.Path() / "a", 260);
  const std::string in_261 = testing::PathOfLength(dir_.Path() / "b", 261);
  const std::string out_260 = testing::PathOfLength(dir_.Path() / "c", 260);
  const std::string out_261 = testing::PathOfLength(dir_.Path() / "d", 261);
  ASSERT_EQ(in_261.size(), 261u);
  WriteBytes(in_260, kExport);
  WriteBytes(in_261, kExport);

  EXPECT_EQ(Convert(in_260, out_260), Requests{});
  EXPECT_EQ(ReadBytes(out_260), testing::ModelConvert(kExport));
  EXPECT_EQ(Convert(in_261, dir_.File("out.txa")),
            Requests{OpenFailure(ERR_INVALID_FILENAME, in_261)});
  EXPECT_EQ(Convert(in_260, out_261), Requests{OpenFailure(ERR_INVALID_FILENAME, out_261)});
  EXPECT_FALSE(fs::exists(out_261));
  EXPECT_FALSE(fs::exists(dir_.File("out.txa")));
  EXPECT_EQ(ReadBytes(in_261), kExport);
}

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xff);
  return bytes;
}

// Contents that are no text export at all.
TEST_F(HostileInputTest, OddContentsConvertAsTheRulesSay) {
  const std::string sub(1, '\x1a');
  std::string without_line_ends = RandomBytes(300000, 7);
  for (char& c : without_line_ends) {
    if (c == '\r' || c == '\x1a') c = 'x';
  }
  const struct {
    const char* what;
    std::string bytes;
    std::int64_t lines;
  } cases[] = {
      {"only Ctrl-Z", sub, 0},
      {"only Ctrl-Z, many", std::string(100000, '\x1a'), 0},
      {"random binary data", RandomBytes(1 << 20, 1), -1},
      {"binary data without CR or Ctrl-Z", without_line_ends, 1},
      {"NUL bytes", std::string(20000, '\0'), 1},
      {"only CRs", std::string(30000, '\r'), 1},
      {"only LFs", std::string(30000, '\n'), 1},
      {"only tabs", std::string(30000, '\t'), 1},
      {"a byte-order mark and text", "\xef\xbb\xbf!!> IDENT(1),X\r\n", 1},
      {"UTF-16 text", std::string("!\0!\0>\0 \0I\0D\0E\0N\0T\0,\0\r\0\n\0", 24), 1},
  };
  const std::string in = dir_.File("in.bin");
  const std::string out = dir_.File("out.txa");
  for (const auto& c : cases) {
    WriteBytes(in, c.bytes);
    EXPECT_EQ(Convert(in, out), Requests{}) << c.what;
    EXPECT_EQ(ReadBytes(out), testing::ModelConvert(c.bytes)) << c.what;
    EXPECT_EQ(ReadBytes(in), c.bytes) << c.what;
    if (c.lines >= 0) {
      EXPECT_EQ(job_.TotalLines(), c.lines) << c.what;
    }
  }
}

}  // namespace
}  // namespace identstrip
