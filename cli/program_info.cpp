#include "cli/program_info.h"

namespace identstrip::cli {

std::string_view HelpText() {
  return R"(Usage: identstrip-cli INPUT OUTPUT
       identstrip-cli [-o DIR] INPUT...
       identstrip-cli --stdout INPUT

Writes a copy of each Clarion TXD or TXA file with its "!!> IDENT" items
stripped and every line normalised: tabs expanded, trailing blanks dropped,
lines longer than 5012 characters cut, every line ended by CR LF. An input is
never changed.

  INPUT OUTPUT           convert INPUT into OUTPUT
  INPUT...               convert each INPUT into its proposed output name beside
                         it: "NI" before the first dot, Sales.TXA into SalesNI.TXA
  -o, --output-dir DIR   put the converted files into DIR, under the same names
      --stdout           write the converted INPUT to standard output
  -                      standard input as INPUT, standard output as OUTPUT
  --                     end of the options: later names may start with "-"
  -h, --help             show this help and exit
      --version          show the version and exit

Two names always mean INPUT OUTPUT; convert exactly two files to their proposed
names one at a time, or into a folder with -o.

Problems are reported on standard error, one per file, with the file's name and
the result code (2 file not found, 3 path not found, 5 access denied or the
file is in use, 45 invalid filename; other numbers are the system's own).

Exit status:
  0  every file was converted
  1  at least one file could not be converted, or not completely
  2  the command line was not usable; nothing was converted

Diffs without IDENT noise in git:
  git config diff.clarion.textconv "identstrip-cli --stdout"
  printf '*.txd diff=clarion\n*.txa diff=clarion\n' >> .gitattributes
)";
}

std::string_view VersionText() {
  return "identstrip-cli " IDENTSTRIP_VERSION "\n";
}

}  // namespace identstrip::cli
