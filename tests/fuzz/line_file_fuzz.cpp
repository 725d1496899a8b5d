// Arbitrary bytes through the line files: the records read must be the ones
// the model reads, in both passes, and the bytes written for any record must
// be the ones the model writes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "conversion/line_file.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/line_model.h"
#include "tests/support/memory_file_system.h"

namespace identstrip {
namespace {

const std::string kInput = "/in.txa";
const std::string kOutput = "/out.txa";

void CheckReading(testing::MemoryFileSystem& files, const std::vector<std::string>& expected) {
  LineFile input(files, kInput);
  FUZZ_CHECK(input.Open(MODE_READ_WRITE_DENY_WRITE) == SUCCESS);
  FUZZ_CHECK(input.ReadNext() == ERR_RECORD_NOT_AVAILABLE);
  // The counting pass and the conversion pass must see the same records.
  for (int pass = 0; pass < 2; ++pass) {
    FUZZ_CHECK(input.Rewind() == SUCCESS);
    std::size_t read = 0;
    while (input.ReadNext() == SUCCESS) {
      FUZZ_CHECK(read < expected.size());
      FUZZ_CHECK(testing::RecordHolds(input.Record().Text(), expected[read]));
      ++read;
    }
    FUZZ_CHECK(LastError() == ERR_RECORD_NOT_AVAILABLE);
    FUZZ_CHECK(read == expected.size());
    FUZZ_CHECK(input.ReadNext() == ERR_RECORD_NOT_AVAILABLE);
  }
  FUZZ_CHECK(input.Close() == SUCCESS);
}

// Appends the records read and then every LF-separated piece of the input
// as a record of its own, which gives records holding SUB, tabs, CR and
// trailing blanks that reading never produces.
void CheckWriting(testing::MemoryFileSystem& files, std::string_view bytes,
                  const std::vector<std::string>& lines) {
  LineFile output(files, kOutput);
  FUZZ_CHECK(output.Create() == SUCCESS);
  FUZZ_CHECK(output.Open(MODE_READ_WRITE_DENY_WRITE) == SUCCESS);
  std::string expected;
  for (const std::string& line : lines) {
    output.Record().Assign(line);
    FUZZ_CHECK(output.Append() == SUCCESS);
    expected += testing::ModelWriteLine(line);
  }
  for (std::size_t start = 0; start <= bytes.size();) {
    const std::size_t lf = std::min(bytes.find('\n', start), bytes.size());
    const std::string_view piece = bytes.substr(start, lf - start);
    output.Record().Assign(piece);
    FUZZ_CHECK(testing::RecordHolds(output.Record().Text(), piece.substr(0, LINE_CAPACITY)));
    FUZZ_CHECK(output.Append() == SUCCESS);
    expected += testing::ModelWriteLine(piece.substr(0, LINE_CAPACITY));
    start = lf + 1;
  }
  FUZZ_CHECK(output.Close() == SUCCESS);
  FUZZ_CHECK(files.Contents(kOutput) == expected);
}

}  // namespace
}  // namespace identstrip

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace identstrip;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  testing::MemoryFileSystem files;
  files.Put(kInput, std::string(bytes));
  const std::vector<std::string> expected = testing::ModelReadLines(bytes);

  CheckReading(files, expected);
  CheckWriting(files, bytes, expected);
  FUZZ_CHECK(files.Contents(kInput) == bytes);
  FUZZ_CHECK(files.OpenFiles() == 0);
  return 0;
}
