// Runs every benchmark and prints one table: the core's per-line operations,
// whole-file figures beside `cat` and a Perl peer, peak memory at two file
// sizes and the window's pace on the costliest lines.
//
//   identstrip_bench --data=DIR [--size=100M] [--small=1M] [--worst=20M]
//                    [--repeat=3] [--cli=FILE] [--peer=FILE] [--no-micro]
//                    [Google Benchmark flags]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/process_run.h"
#include "bench/text_table.h"

namespace identstrip::bench {
namespace {

namespace fs = std::filesystem;

struct Options {
  fs::path data_dir;
  fs::path bin_dir;
  fs::path peer = IDENTSTRIP_BENCH_PEER;
  fs::path cli = IDENTSTRIP_BENCH_CLI;
  std::string size = "100M";
  std::string small_size = "1M";
  std::string worst_size = "20M";
  int repeat = 3;
  bool micro = true;
};

bool TakeOption(const char* arg, const char* name, std::string& value) {
  const std::size_t length = std::strlen(name);
  if (std::strncmp(arg, name, length) != 0 || arg[length] != '=') return false;
  value = arg + length + 1;
  return true;
}

// Takes this runner's options out of argv and leaves the rest for the
// benchmark library.
std::optional<Options> ParseOptions(int& argc, char** argv) {
  Options options;
  options.bin_dir = fs::read_symlink("/proc/self/exe").parent_path();
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    std::string value;
    if (TakeOption(argv[i], "--data", value))
      options.data_dir = value;
    else if (TakeOption(argv[i], "--size", value))
      options.size = value;
    else if (TakeOption(argv[i], "--small", value))
      options.small_size = value;
    else if (TakeOption(argv[i], "--worst", value))
      options.worst_size = value;
    else if (TakeOption(argv[i], "--repeat", value))
      options.repeat = std::max(1, std::atoi(value.c_str()));
    else if (TakeOption(argv[i], "--cli", value))
      options.cli = value;
    else if (TakeOption(argv[i], "--peer", value))
      options.peer = value;
    else if (std::strcmp(argv[i], "--no-micro") == 0)
      options.micro = false;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  if (options.data_dir.empty()) {
    std::fprintf(stderr, "usage: %s --data=DIR [options] (see the source's heading)\n", argv[0]);
    return std::nullopt;
  }
  return options;
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// 1234567 -> "1,234,567"
std::string Grouped(double value) {
  const std::string digits = Format("%.0f", value);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

double LoadAverage() {
  double load = 0;
  if (std::FILE* file = std::fopen("/proc/loadavg", "r")) {
    if (std::fscanf(file, "%lf", &load) != 1) load = 0;
    std::fclose(file);
  }
  return load;
}

// ---- micro-benchmarks -------------------------------------------------------

struct MicroResult {
  std::string name;
  double ns_per_op = 0;
  double bytes_per_second = 0;
};

class CollectingReporter final : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      MicroResult result;
      result.name = run.benchmark_name();
      result.ns_per_op =
          run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (const auto found = run.counters.find("bytes_per_second"); found != run.counters.end()) {
        result.bytes_per_second = found->second.value;
      }
      results.push_back(result);
    }
  }
  std::vector<MicroResult> results;
};

// "ReadNextThrough/5012_char_lines" -> "ReadNext, 5012 char lines"
std::string MicroName(std::string name) {
  static const std::map<std::string, std::string> kOperations = {
      {"ApplyIdentRuleTo", "ApplyIdentRule"},
      {"ReadNextThrough", "ReadNext"},
      {"AppendRecord", "Append"}};
  const std::size_t slash = name.find('/');
  std::string operation = name.substr(0, slash);
  std::string variant = slash == std::string::npos ? "" : name.substr(slash + 1);
  if (const auto found = kOperations.find(operation); found != kOperations.end()) {
    operation = found->second;
  }
  std::replace(variant.begin(), variant.end(), '_', ' ');
  return variant.empty() ? operation : operation + ", " + variant;
}

// ---- whole files -------------------------------------------------------------

struct Figure {
  bool measured = false;
  bool succeeded = true;
  double seconds = std::numeric_limits<double>::infinity();
  long peak_kib = 0;
  std::map<std::string, double> reported;  // "key value" lines of the best run
};

std::map<std::string, double> ParseReport(const std::string& text) {
  std::map<std::string, double> values;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    const std::size_t space = line.find(' ');
    if (space != std::string::npos)
      values[line.substr(0, space)] = std::atof(line.c_str() + space + 1);
    at = end + 1;
  }
  return values;
}

// The fastest of `repeat` runs; the output file is removed before each, so
// that every run creates it afresh.
Figure Best(int repeat, const fs::path& output, const std::function<ProcessRun()>& run) {
  Figure figure;
  figure.measured = true;
  for (int i = 0; i < repeat; ++i) {
    if (!output.empty()) fs::remove(output);
    const ProcessRun result = run();
    if (!result.succeeded) {
      figure.succeeded = false;
      return figure;
    }
    figure.peak_kib = std::max(figure.peak_kib, result.peak_kib);
    if (result.seconds < figure.seconds) {
      figure.seconds = result.seconds;
      figure.reported = ParseReport(result.output);
    }
  }
  return figure;
}

// The offset of the first byte where the two files differ, or nothing when
// they are the same.
std::optional<std::uint64_t> FirstDifference(const fs::path& a, const fs::path& b) {
  std::ifstream left(a, std::ios::binary);
  std::ifstream right(b, std::ios::binary);
  if (!left || !right) return 0;
  std::vector<char> x(1 << 20), y(1 << 20);
  std::uint64_t offset = 0;
  for (;;) {
    left.read(x.data(), static_cast<std::streamsize>(x.size()));
    right.read(y.data(), static_cast<std::streamsize>(y.size()));
    const auto got_left = static_cast<std::size_t>(left.gcount());
    const auto got_right = static_cast<std::size_t>(right.gcount());
    const std::size_t common = std::min(got_left, got_right);
    const auto mismatch =
        std::mismatch(x.begin(), x.begin() + static_cast<long>(common), y.begin());
    if (mismatch.first != x.begin() + static_cast<long>(common)) {
      return offset + static_cast<std::uint64_t>(mismatch.first - x.begin());
    }
    if (got_left != got_right) return offset + common;
    if (got_left == 0) return std::nullopt;
    offset += common;
  }
}

class WholeFileBench {
 public:
  explicit WholeFileBench(const Options& options) : options_(options) {}

  bool Run(TextTable& table);

 private:
  fs::path Tool(const char* name) const { return options_.bin_dir / name; }
  fs::path Data(const std::string& name) const { return options_.data_dir / name; }
  bool Generate(const char* kind, const std::string& size, const fs::path& file);
  Figure Count(const fs::path& input, int repeat, const char* mode = "count");
  Figure ConvertWithJob(const fs::path& input, const fs::path& output, int repeat);
  Figure ConvertWithCli(const fs::path& input, const fs::path& output, int repeat);
  Figure Cat(const fs::path& input, const fs::path& output, bool commit);
  Figure Peer(const fs::path& input, const fs::path& output, int repeat);

  std::vector<std::string> FigureRow(const std::string& what, const Figure& figure,
                                     const fs::path& input, double lines, const Figure* cat,
                                     const Figure* cat_commit, const Figure* peer,
                                     const std::string& target = "");

  const Options& options_;
};

bool WholeFileBench::Generate(const char* kind, const std::string& size, const fs::path& file) {
  std::fprintf(stderr, "generating %s %s export: %s\n", size.c_str(), kind, file.c_str());
  if (!RunProcess({Tool("identstrip_bench_generate"), kind, size, file}).succeeded) return false;
  // Read once, so that every figure starts from the page cache alike.
  return RunProcess({"cat", file}, "/dev/null").succeeded;
}

Figure WholeFileBench::Count(const fs::path& input, int repeat, const char* mode) {
  return Best(repeat, {}, [&] { return RunProcess({Tool("identstrip_bench_job"), mode, input}); });
}

Figure WholeFileBench::ConvertWithJob(const fs::path& input, const fs::path& output, int repeat) {
  return Best(repeat, output, [&] {
    return RunProcess({Tool("identstrip_bench_job"), "convert", input, output});
  });
}

Figure WholeFileBench::ConvertWithCli(const fs::path& input, const fs::path& output, int repeat) {
  if (!fs::exists(options_.cli)) return {};
  return Best(repeat, output, [&] { return RunProcess({options_.cli, input, output}); });
}

Figure WholeFileBench::Cat(const fs::path& input, const fs::path& output, bool commit) {
  return Best(options_.repeat, output, [&] { return RunProcess({"cat", input}, output, commit); });
}

Figure WholeFileBench::Peer(const fs::path& input, const fs::path& output, int repeat) {
  return Best(repeat, output, [&] { return RunProcess({"perl", options_.peer, input, output}); });
}

std::string Ratio(const Figure& figure, const Figure* base) {
  if (!base || !base->measured || !base->succeeded || base == &figure) return "";
  return Format("%.2f\u00d7", figure.seconds / base->seconds);
}

std::vector<std::string> WholeFileBench::FigureRow(const std::string& what, const Figure& figure,
                                                   const fs::path& input, double lines,
                                                   const Figure* cat, const Figure* cat_commit,
                                                   const Figure* peer, const std::string& target) {
  if (!figure.succeeded) return {what, "failed"};
  const double megabytes = static_cast<double>(fs::file_size(input)) / 1e6;
  return {what,
          Format("%.3f s", figure.seconds),
          Format("%.0f", megabytes / figure.seconds),
          Grouped(lines / figure.seconds),
          Format("%.1f MB", static_cast<double>(figure.peak_kib) / 1024.0),
          Ratio(figure, cat),
          Ratio(figure, cat_commit),
          Ratio(figure, peer),
          target};
}

std::string Verdict(bool met, const std::string& figure, const std::string& target) {
  return figure + (met ? " (met: " : " (missed: ") + target + ")";
}

bool WholeFileBench::Run(TextTable& table) {
  fs::create_directories(options_.data_dir);
  const fs::path txa = Data("export-" + options_.size + ".txa");
  const fs::path small_txa = Data("export-" + options_.small_size + ".txa");
  const fs::path txd = Data("export-" + options_.size + ".txd");
  const fs::path worst = Data("worst-case-" + options_.worst_size + ".txa");
  if (!Generate("txa", options_.size, txa) || !Generate("txa", options_.small_size, small_txa) ||
      !Generate("txd", options_.size, txd) || !Generate("worst", options_.worst_size, worst)) {
    std::fprintf(stderr, "could not generate the exports in %s\n", options_.data_dir.c_str());
    return false;
  }
  const int repeat = options_.repeat;
  const fs::path cat_out = Data("out-cat");
  const fs::path job_out = Data("out-job");
  const fs::path cli_out = Data("out-cli");
  const fs::path peer_out = Data("out-peer");

  std::fprintf(stderr, "measuring the whole-file figures, best of %d runs each\n", repeat);
  // TXA, the larger kind of export, gets every figure.
  const Figure cat = Cat(txa, cat_out, false);
  const Figure cat_commit = Cat(txa, cat_out, true);
  const Figure count = Count(txa, repeat);
  const Figure read = Count(txa, repeat, "read");
  const double lines = count.reported.count("lines") ? count.reported.at("lines") : 0;
  const Figure job = ConvertWithJob(txa, job_out, repeat);
  const Figure cli = ConvertWithCli(txa, cli_out, repeat);
  const auto cli_difference = cli.measured ? FirstDifference(cli_out, job_out) : std::nullopt;

  // The peer is timed only once it has shown that it writes the same bytes.
  std::fprintf(stderr, "checking the Perl peer against identstrip\n");
  Figure peer = Peer(txa, peer_out, 1);
  const auto peer_difference = FirstDifference(peer_out, job_out);
  if (!peer_difference && repeat > 1) peer = Peer(txa, peer_out, std::min(repeat, 2));

  const Figure small_count = Count(small_txa, repeat);
  const Figure small_job = ConvertWithJob(small_txa, job_out, repeat);
  const Figure small_cli = ConvertWithCli(small_txa, cli_out, repeat);
  const double small_lines =
      small_count.reported.count("lines") ? small_count.reported.at("lines") : 0;

  const Figure txd_cat = Cat(txd, cat_out, false);
  const Figure txd_cat_commit = Cat(txd, cat_out, true);
  const Figure txd_count = Count(txd, repeat);
  const double txd_lines = txd_count.reported.count("lines") ? txd_count.reported.at("lines") : 0;
  const Figure txd_job = ConvertWithJob(txd, job_out, repeat);
  const Figure txd_peer = Peer(txd, peer_out, 1);
  const auto txd_peer_difference = FirstDifference(peer_out, job_out);

  const Figure worst_job = ConvertWithJob(worst, job_out, repeat);
  for (const fs::path& out : {cat_out, job_out, cli_out, peer_out}) fs::remove(out);

  const auto same = [](const std::optional<std::uint64_t>& difference) {
    return difference
               ? "differs from identstrip at byte " + Grouped(static_cast<double>(*difference))
               : std::string("same bytes as identstrip");
  };
  const Figure* peer_base = peer_difference ? nullptr : &peer;

  table.Section(
      Format("Whole file: TXA export, %.1f MB, ", static_cast<double>(fs::file_size(txa)) / 1e6) +
      Grouped(lines) + " lines; page cache warm; fastest of " + std::to_string(repeat) + " runs");
  table.Row(FigureRow("cat FILE > OUT (the machine's floor)", cat, txa, lines, &cat, &cat_commit,
                      peer_base));
  table.Row(FigureRow("cat FILE > OUT, then fsync OUT", cat_commit, txa, lines, &cat, &cat_commit,
                      peer_base));
  table.Row(FigureRow(
      "counting pass (Rewind + SkipNext to the end)", count, txa, lines, &cat, nullptr, peer_base,
      Verdict(count.seconds <= 1.5 * cat.seconds, Ratio(count, &cat) + " cat", "<= 1.5\u00d7")));
  table.Row(FigureRow("reading pass (Rewind + ReadNext to the end)", read, txa, lines, &cat,
                      nullptr, peer_base));
  table.Row(FigureRow("full conversion, ConversionJob without pacing", job, txa, lines, &cat,
                      &cat_commit, peer_base,
                      Verdict(job.seconds <= 2 * cat_commit.seconds,
                              Ratio(job, &cat_commit) + " cat+fsync", "<= 2\u00d7")));
  if (job.reported.count("finish_us")) {
    Figure core = job;
    core.seconds = (job.reported.at("total_us") - job.reported.at("finish_us")) / 1e6;
    table.Row(FigureRow(
        "  the same without the closing commit", core, txa, lines, &cat, nullptr, peer_base,
        Verdict(core.seconds <= 2 * cat.seconds, Ratio(core, &cat) + " cat", "<= 2\u00d7")));
  }
  if (cli.measured) {
    table.Row(FigureRow("full conversion, identstrip-cli IN OUT", cli, txa, lines, &cat,
                        &cat_commit, peer_base,
                        Verdict(cli.seconds <= 2 * cat_commit.seconds,
                                Ratio(cli, &cat_commit) + " cat+fsync", "<= 2\u00d7") +
                            (cli_difference ? "; OUTPUT DIFFERS" : "")));
  } else {
    table.Row({"full conversion, identstrip-cli IN OUT", "not built"});
  }
  if (peer_difference) {
    table.Row({"Perl peer (not timed)", same(peer_difference)});
  } else {
    table.Row(FigureRow("Perl peer, " + same(peer_difference), peer, txa, lines, &cat, &cat_commit,
                        nullptr));
    table.Row({"  peer time / full conversion time", "", "", "", "", "", "", "",
               Verdict(peer.seconds >= 20 * job.seconds,
                       Format("%.1f\u00d7", peer.seconds / job.seconds), ">= 20\u00d7")});
  }

  table.Section(
      Format("Whole file: TXD export, %.1f MB, ", static_cast<double>(fs::file_size(txd)) / 1e6) +
      Grouped(txd_lines) + " lines");
  table.Row(
      FigureRow("cat FILE > OUT", txd_cat, txd, txd_lines, &txd_cat, &txd_cat_commit, nullptr));
  table.Row(FigureRow("cat FILE > OUT, then fsync OUT", txd_cat_commit, txd, txd_lines, &txd_cat,
                      &txd_cat_commit, nullptr));
  table.Row(FigureRow("counting pass", txd_count, txd, txd_lines, &txd_cat, nullptr, nullptr));
  table.Row(FigureRow("full conversion, ConversionJob without pacing", txd_job, txd, txd_lines,
                      &txd_cat, &txd_cat_commit, txd_peer_difference ? nullptr : &txd_peer));
  table.Row(FigureRow("Perl peer (one run), " + same(txd_peer_difference), txd_peer, txd, txd_lines,
                      &txd_cat, &txd_cat_commit, nullptr));

  table.Section(Format("Peak memory: TXA export of %.1f MB against ",
                       static_cast<double>(fs::file_size(small_txa)) / 1e6) +
                Format("%.1f MB", static_cast<double>(fs::file_size(txa)) / 1e6));
  const auto memory_row = [&](const std::string& what, const Figure& small, const Figure& large) {
    if (!small.measured || !large.measured) return;
    const bool constant = large.peak_kib <= small.peak_kib + 256;
    table.Row(
        {what, Format("%.3f s", small.seconds),
         Format("%.0f", static_cast<double>(fs::file_size(small_txa)) / 1e6 / small.seconds),
         Grouped(small_lines / small.seconds),
         Format("%.1f MB", static_cast<double>(small.peak_kib) / 1024.0), "", "", "",
         Verdict(constant,
                 Format("%.1f MB at the large size", static_cast<double>(large.peak_kib) / 1024.0),
                 "constant")});
  };
  memory_row("counting pass", small_count, count);
  memory_row("full conversion, ConversionJob", small_job, job);
  memory_row("full conversion, identstrip-cli", small_cli, cli);

  table.Section(
      "Window pace: " + Format("%.1f MB", static_cast<double>(fs::file_size(worst)) / 1e6) +
      " of costly lines (5012-character records, 626 tabs, tabs past the end, "
      "20,000-character lines, long IDENT remainders, lone CRs), 100 reads a slice");
  if (worst_job.succeeded && worst_job.reported.count("longest_slice_us")) {
    const double longest = worst_job.reported.at("longest_slice_us");
    table.Row(
        {"longest slice of the " + Grouped(worst_job.reported.at("slices")) + " slices",
         Format("%.0f \u00b5s", longest), "", "", "", "", "", "",
         Verdict(longest < 2000, Format("%.1f%% of the 10 ms tick", longest / 100), "< 2 ms")});
    table.Row({"the finishing tick (both files closed, output committed)",
               Format("%.0f \u00b5s", worst_job.reported.at("finish_us"))});
  } else {
    table.Row({"worst-case conversion", "failed"});
  }
  return true;
}

}  // namespace
}  // namespace identstrip::bench

int main(int argc, char** argv) {
  using namespace identstrip::bench;
  const auto options = ParseOptions(argc, argv);
  if (!options) return 2;
  const double load_before = LoadAverage();

  TextTable table({"figure", "time", "MB/s", "lines/s", "peak RSS", "\u00d7 cat",
                   "\u00d7 cat+fsync", "\u00d7 peer", "target"});
  if (options->micro) {
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    std::fprintf(stderr, "running the micro-benchmarks\n");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    table.Section("Micro-benchmarks: the core in memory, time per call");
    for (const MicroResult& result : reporter.results) {
      table.Row({MicroName(result.name), Format("%.1f ns", result.ns_per_op),
                 result.bytes_per_second > 0 ? Format("%.0f", result.bytes_per_second / 1e6) : "",
                 Grouped(1e9 / result.ns_per_op)});
    }
  }
  WholeFileBench whole_file(*options);
  const bool ran = whole_file.Run(table);

  char date[32];
  const std::time_t now = std::time(nullptr);
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", std::localtime(&now));
  std::printf("\nidentstrip benchmarks, %s, %ld cores, load average %.2f before and %.2f after\n\n",
              date, sysconf(_SC_NPROCESSORS_ONLN), load_before, LoadAverage());
  table.Print(stdout);
  return ran ? 0 : 1;
}
