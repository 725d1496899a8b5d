// Whole conversions, on Windows, of what is not an ordinary file and of names
// of every awkward kind that Windows allows.
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
  const std::string folder = dir_.File("folder");
  fs::create_directory(folder);
  const std::string hard_link_to_input = dir_.File("hard.txa");
  fs::create_hard_link(in, hard_link_to_input);
  const std::string device_in_folder = dir_.File("nul.txa");
  const std::string pipe = "\\\\.\\pipe\\identstrip";

  const Refusal cases[] = {
      {"the null device as input", "NUL", out, OpenFailure(ERR_ACCESS_DENIED, "NUL")},
      {"the null device as output", in, "NUL", OpenFailure(ERR_ACCESS_DENIED, "NUL")},
      {"the console as input", "CON", out, OpenFailure(ERR_ACCESS_DENIED, "CON")},
      {"a serial port as output", in, "COM1", OpenFailure(ERR_ACCESS_DENIED, "COM1")},
      {"a printer port with an extension as output", in, "lpt1.txa",
       OpenFailure(ERR_ACCESS_DENIED, "lpt1.txa")},
      {"a device name in a folder as output", in, device_in_folder,
       OpenFailure(ERR_ACCESS_DENIED, device_in_folder)},
      {"a pipe as output", in, pipe, OpenFailure(ERR_ACCESS_DENIED, pipe)},
      {"a folder as input", folder, out, OpenFailure(ERR_ACCESS_DENIED, folder)},
      {"a folder as output", in, folder, OpenFailure(ERR_ACCESS_DENIED, folder)},
      {"a hard link to the input as output", in, hard_link_to_input,
       OpenFailure(ERR_ACCESS_DENIED, hard_link_to_input)},
  };
  ExpectEachRefused(cases, in, out);
  EXPECT_TRUE(fs::is_directory(folder));
}

// Names of every awkward kind that Windows allows convert like any other; the
// messages show them exactly as given.
TEST_F(HostileInputTest, AwkwardNamesConvert) {
  const std::string names[] = {
      "my export file.txa",
      "it's quoted.txa",
      "caf\xe9 latin-1.txa",
      "-leading-dash.txa",
      "--",
      ".hidden",
      " leading blank.txa",
      "%PATH%.txa",
      "semi;colon,comma.txa",
      "[brackets] & (parens).txa",
      "100%.txa",
      "hash#and^caret.txa",
  };
  ExpectEachNameConverts(names);
}

}  // namespace
}  // namespace identstrip::testing
