// Whole conversions, on POSIX systems, of what is not an ordinary file and of
// names of every awkward kind that the system allows.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/conversion/hostile_input_fixture.h"

namespace identstrip::testing {
namespace {

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

  const Refusal cases[] = {
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
  ExpectEachRefused(cases, in, out);
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
  ExpectEachNameConverts(names);
}

}  // namespace
}  // namespace identstrip::testing
