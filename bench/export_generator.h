#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace identstrip::bench {

enum class ExportKind {
  // A text dictionary: files with keys and fields, each followed by its
  // keyword list, screen and report controls, relations.
  Dictionary,
  // An application export: procedures with their data, windows, reports and
  // embedded source indented by tabs.
  Application,
  // Blocks of 100 lines of one costly kind each (full records, long tab runs,
  // over-long lines, long IDENT remainders, lone CRs): the slowest slices.
  WorstCase,
};

std::optional<ExportKind> ParseExportKind(std::string_view name);
std::string_view ExportKindName(ExportKind kind);

// Produces an export of `kind` of about `target_bytes` (a little more: the
// last block is finished), with CR LF line ends, Windows-1252 text and a
// final byte 26. The same arguments always give the same bytes. The bytes
// reach `sink` in pieces of about a megabyte.
void GenerateExport(ExportKind kind, std::uint64_t target_bytes,
                    const std::function<void(std::string_view)>& sink);

// The whole export as one string, for small sizes.
std::string GenerateExport(ExportKind kind, std::uint64_t target_bytes);

}  // namespace identstrip::bench
