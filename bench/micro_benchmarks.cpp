// Micro-benchmarks of the conversion core's per-line operations. The line
// files read from and write to memory, so the figures are the core's own.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/export_generator.h"
#include "bench/memory_file_system.h"
#include "conversion/ident_rule.h"
#include "conversion/line_file.h"

namespace identstrip::bench {
namespace {

const std::string kFieldLine = "Name                     STRING(40)";
const std::string kIdentLine =
    "!!> IDENT(14),PROMPT('&Cust No:'),HEADER('Cust No'),PICTURE(@n-14),JUSTIFY(RIGHT,1)";
const std::string kBareIdent = "!!> IDENT(17)";
const std::string kLongIdent = "!!> IDENT(4294967295)," + std::string(4990, 'r');

void ApplyIdentRuleTo(benchmark::State& state, const std::string& line) {
  LineRecord input;
  LineRecord output;
  input.Assign(line);
  for (auto _ : state) {
    bool kept = ApplyIdentRule(input, output);
    benchmark::DoNotOptimize(kept);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(ApplyIdentRuleTo, field_line, kFieldLine);
BENCHMARK_CAPTURE(ApplyIdentRuleTo, ident_line, kIdentLine);
BENCHMARK_CAPTURE(ApplyIdentRuleTo, ident_without_comma, kBareIdent);
BENCHMARK_CAPTURE(ApplyIdentRuleTo, ident_5012_chars, kLongIdent);

std::string Lines(const std::string& line, std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += line + "\r\n";
  return bytes;
}

// Reads `bytes` line after line, starting over at the end of the file.
void ReadNextThrough(benchmark::State& state, const std::string& bytes) {
  MemoryFileSystem file_system;
  const std::string path = "input.txa";
  file_system.Add(path, bytes);
  LineFile file(file_system, path);
  file.Open(MODE_READ_WRITE_DENY_WRITE);

  std::int64_t lines_in_file = 0;
  file.Rewind();
  while (file.ReadNext() == SUCCESS) ++lines_in_file;

  file.Rewind();
  for (auto _ : state) {
    if (file.ReadNext() != SUCCESS) {
      file.Rewind();
      file.ReadNext();
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(static_cast<double>(state.iterations()) *
                                                    static_cast<double>(bytes.size()) /
                                                    static_cast<double>(lines_in_file)));
  file.Close();
}
BENCHMARK_CAPTURE(ReadNextThrough, txa_export, GenerateExport(ExportKind::Application, 4000000));
BENCHMARK_CAPTURE(ReadNextThrough, short_lines, Lines(kFieldLine, 100000));
BENCHMARK_CAPTURE(ReadNextThrough, tab_indented_source,
                  Lines("\t\tLoc:Total += DQ:Amount\t\t! Betr\xe4ge summieren", 100000));
BENCHMARK_CAPTURE(ReadNextThrough, 5012_char_lines, Lines(std::string(5012, 'F'), 1000));
BENCHMARK_CAPTURE(ReadNextThrough, 626_tabs, Lines(std::string(626, '\t') + "TAIL", 1000));
BENCHMARK_CAPTURE(ReadNextThrough, lone_crs,
                  Lines(
                      [] {
                        std::string line;
                        while (line.size() < 5012) line += "c\r";
                        return line;
                      }(),
                      1000));
BENCHMARK_CAPTURE(ReadNextThrough, 20000_char_lines, Lines(std::string(20000, 'L'), 300));

// Appends the same record again and again; the bytes go nowhere.
void AppendRecord(benchmark::State& state, const std::string& text) {
  MemoryFileSystem file_system;
  const std::string path = "output.txa";
  file_system.CreateEmpty(path);
  LineFile file(file_system, path);
  file.Open(MODE_READ_WRITE_DENY_WRITE);
  file.Record().Assign(text);
  for (auto _ : state) {
    file.Append();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(file.Record().Content().size() + 2));
  file.Close();
}
BENCHMARK_CAPTURE(AppendRecord, short_line, kFieldLine);
BENCHMARK_CAPTURE(AppendRecord, trailing_blanks, kFieldLine + std::string(40, ' '));
BENCHMARK_CAPTURE(AppendRecord, 5012_chars, std::string(5012, 'F'));
BENCHMARK_CAPTURE(AppendRecord, X_and_5011_blanks, "X" + std::string(5011, ' '));

}  // namespace
}  // namespace identstrip::bench
