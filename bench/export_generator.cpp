#include "bench/export_generator.h"

#include <array>
#include <string>

#include "conversion/line_record.h"

namespace identstrip::bench {
namespace {

// splitmix64: small, fast and the same on every platform, unlike the
// standard library's distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  // 0 to n - 1.
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
  std::size_t Between(std::size_t low, std::size_t high) { return low + Below(high - low + 1); }
  bool Percent(unsigned chance) { return Below(100) < chance; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[Below(N)];
  }

 private:
  std::uint64_t state_;
};

// Words as they appear in exports made on German, French and English
// systems; the non-ASCII letters are Windows-1252 bytes.
constexpr std::array<std::string_view, 32> kWords = {"Kunde",
                                                     "Auftrag",
                                                     "Artikel",
                                                     "Lager",
                                                     "Rechnung",
                                                     "Position",
                                                     "Betrag",
                                                     "Menge",
                                                     "Preis",
                                                     "Datum",
                                                     "Status",
                                                     "Name",
                                                     "Ort",
                                                     "Stra\xdf"
                                                     "e",
                                                     "Gr\xf6\xdf"
                                                     "e",
                                                     "Ma\xdf"
                                                     "einheit",
                                                     "\xc4nderung",
                                                     "Client",
                                                     "Soci\xe9t\xe9",
                                                     "R\xe9"
                                                     "f\xe9rence",
                                                     "Pi\xe8"
                                                     "ce",
                                                     "Ann\xe9"
                                                     "e",
                                                     "Total",
                                                     "Order",
                                                     "Invoice",
                                                     "Supplier",
                                                     "Amount",
                                                     "Note",
                                                     "Code",
                                                     "Region",
                                                     "Branch",
                                                     "Fran\xe7"
                                                     "ais"};

constexpr std::array<std::string_view, 10> kPhrases = {
    "Betr\xe4ge summieren",
    "\x84Offene Posten\x93 pr\xfc"
    "fen",
    "Preis in \x80 inkl. MwSt.",
    "Temperatur in \xb0"
    "C",
    "Fehler \x96 bitte erneut versuchen",
    "Zeile \xfc"
    "berspringen",
    "\x93Quoted\x94 text for the report",
    "Toleranz \xb1"
    "0,5 mm",
    "Liste der Auftr\xe4ge \xb7 sortiert",
    "R\xe9sum\xe9 du client",
};

constexpr std::array<std::string_view, 10> kTypes = {
    "LONG", "STRING(40)", "DECIMAL(11,2)", "DATE", "TIME",
    "BYTE", "SHORT",      "CSTRING(21)",   "REAL", "STRING(@P###-####P)"};

constexpr std::array<std::string_view, 10> kPictures = {
    "@n-14", "@s40", "@n-14.2", "@d6", "@t1", "@n3", "@n-7", "@s20", "@n-15.3", "@P###-####P"};

constexpr std::array<std::string_view, 6> kControls = {"ENTRY", "STRING", "CHECK",
                                                       "SPIN",  "LIST",   "BUTTON"};

constexpr std::array<std::string_view, 8> kStatements = {
    "IF ERRORCODE() THEN BREAK.",
    "GET(DetailQueue, Loc:Index)",
    "Loc:Total += DQ:Amount",
    "ThisWindow.Reset(1)",
    "DO ProcessRoutine",
    "CLEAR(CUS:Record)",
    "Access:Customer.Fetch(CUS:KeyCustNo)",
    "SELF.Update()",
};

class ExportWriter {
 public:
  ExportWriter(std::uint64_t target, const std::function<void(std::string_view)>& sink)
      : target_(target), sink_(sink) {}
  ~ExportWriter() { Flush(); }

  bool Full() const { return written_ + chunk_.size() >= target_; }

  void Line(std::string_view text) {
    chunk_ += text;
    chunk_ += "\r\n";
    if (chunk_.size() >= (1u << 20)) Flush();
  }
  void Raw(std::string_view bytes) { chunk_ += bytes; }

  std::string& Scratch() {
    scratch_.clear();
    return scratch_;
  }

  std::uint64_t NextIdent() { return ident_++; }

 private:
  void Flush() {
    if (chunk_.empty()) return;
    sink_(chunk_);
    written_ += chunk_.size();
    chunk_.clear();
  }

  std::uint64_t target_;
  const std::function<void(std::string_view)>& sink_;
  std::uint64_t written_ = 0;
  std::uint64_t ident_ = 1;
  std::string chunk_;
  std::string scratch_;
};

void PadTo(std::string& line, std::size_t column) {
  if (line.size() < column)
    line.append(column - line.size(), ' ');
  else
    line += ' ';
}

std::string Name(Random& random) {
  std::string name(random.Pick(kWords));
  if (random.Percent(40)) name += random.Pick(kWords);
  if (random.Percent(20)) name += std::to_string(random.Below(100));
  return name;
}

std::string Guid(Random& random) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string guid;
  for (int i = 0; i < 32; ++i) {
    if (i == 8 || i == 12 || i == 16 || i == 20) guid += '-';
    guid += kHex[random.Below(16)];
  }
  return guid;
}

// "!!> IDENT(n),KEYWORDS..." or, now and then, the bare "!!> IDENT(n)".
void IdentLine(ExportWriter& out, Random& random, std::string_view keywords) {
  std::string& line = out.Scratch();
  line += "!!> IDENT(";
  line += std::to_string(random.Percent(30) ? 4294967000u + random.Below(295) : out.NextIdent());
  line += ')';
  if (!keywords.empty() && !random.Percent(8)) {
    line += ',';
    line += keywords;
  }
  out.Line(line);
}

void FieldKeywords(Random& random, std::string& keywords, std::string_view label,
                   std::string_view picture) {
  keywords += "PROMPT('&";
  keywords += label;
  keywords += ":'),HEADER('";
  keywords += label;
  keywords += "'),PICTURE(";
  keywords += picture;
  keywords += ')';
  if (random.Percent(40)) keywords += ",JUSTIFY(RIGHT,1)";
  if (random.Percent(25)) {
    keywords += ",MESSAGE('";
    keywords += random.Pick(kPhrases);
    keywords += "')";
  }
  keywords += ",GUID('";
  keywords += Guid(random);
  keywords += "')";
}

void ControlLists(ExportWriter& out, Random& random, std::string_view use,
                  std::string_view picture) {
  out.Line("[SCREENCONTROLS]");
  out.Line("! PROMPT('" + std::string(use) + ":'),USE(?" + std::string(use) + ":Prompt)");
  out.Line("! " + std::string(random.Pick(kControls)) + "(" + std::string(picture) + "),USE(" +
           std::string(use) + ")" + (random.Percent(40) ? ",RIGHT(1)" : ""));
  out.Line("[REPORTCONTROLS]");
  out.Line("! STRING(" + std::string(picture) + "),USE(" + std::string(use) + ")");
}

void Field(ExportWriter& out, Random& random, std::string_view prefix, std::size_t indent) {
  const std::string name = Name(random);
  const std::string_view picture = random.Pick(kPictures);
  std::string line(indent, ' ');
  line += name;
  PadTo(line, indent + 24);
  line += random.Pick(kTypes);
  if (random.Percent(5)) line += "   ";  // trailing blanks, as old exports have
  out.Line(line);
  std::string keywords;
  FieldKeywords(random, keywords, name, picture);
  IdentLine(out, random, keywords);
  if (random.Percent(70)) ControlLists(out, random, std::string(prefix) + ":" + name, picture);
}

void DictionaryFile(ExportWriter& out, Random& random) {
  const std::string name = Name(random);
  const std::string prefix = name.substr(0, 3);
  std::string line = name;
  PadTo(line, 21);
  line += "FILE,DRIVER('TOPSPEED'),PRE(" + prefix + "),CREATE,BINDABLE,THREAD";
  out.Line(line);
  IdentLine(out, random,
            "USAGE(FILE),LAST(" + std::to_string(random.Below(200)) + "),GUID('" + Guid(random) +
                "'),DESCRIPTION('" + std::string(random.Pick(kPhrases)) + "')");
  const std::size_t keys = random.Between(1, 4);
  for (std::size_t k = 0; k < keys; ++k) {
    line = prefix + ":Key" + Name(random);
    PadTo(line, 21);
    line += "KEY(" + prefix + ":" + Name(random) + "),NOCASE,OPT" + (k == 0 ? ",PRIMARY" : "");
    out.Line(line);
    IdentLine(out, random, random.Percent(50) ? "AUTO,GUID('" + Guid(random) + "')" : "");
  }
  out.Line("Record                 RECORD,PRE()");
  const std::size_t fields = random.Between(4, 30);
  for (std::size_t f = 0; f < fields; ++f) Field(out, random, prefix, 25);
  out.Line("                       END");
  out.Line("                     END");
  out.Line("");
}

void Dictionary(ExportWriter& out, Random& random) {
  out.Line("[DICTIONARY]");
  out.Line("VERSION 'DICTIONARY-2'");
  out.Line("CREATED '12 MAR 2019' ' 9:41:07AM'");
  out.Line("MODIFIED ' 4 NOV 2023' ' 3:12:55PM'");
  out.Line("");
  out.Line("[FILES]");
  while (!out.Full()) DictionaryFile(out, random);
  out.Line("[RELATIONS]");
  for (int r = 0; r < 20; ++r) {
    out.Line("                     RELATION,ONE:MANY");
    out.Line("CUS:KeyCustNo          FILE(CUS:KeyCustNo)");
    out.Line("ORD:KeyCustNo          RELATED_FILE(ORD:KeyCustNo)");
    IdentLine(out, random, "");
    out.Line("                       FILE_TO_RELATED_KEY");
    out.Line("                         FIELD(CUS:CustNo,ORD:CustNo)");
    out.Line("                       END");
  }
}

void EmbeddedSource(ExportWriter& out, Random& random) {
  out.Line("[SOURCE]");
  out.Line("PROPERTY:BEGIN");
  out.Line("PRIORITY " + std::to_string(random.Between(1, 99) * 100));
  out.Line("PROPERTY:END");
  out.Line(Name(random) + " ROUTINE");
  const std::size_t lines = random.Between(3, 40);
  std::size_t depth = 1;
  for (std::size_t i = 0; i < lines; ++i) {
    std::string& line = out.Scratch();
    line.append(depth, '\t');
    if (random.Percent(10)) line += "  ";  // tabs and blanks mixed
    line += random.Pick(kStatements);
    if (random.Percent(30)) {
      line += random.Percent(50) ? "\t\t! " : "   ! ";
      line += random.Pick(kPhrases);
    }
    if (random.Percent(6)) line += random.Percent(50) ? "\t" : "  ";  // trailing white space
    if (random.Percent(1)) {
      // A long string literal, now and then one longer than a record.
      line += " ! '";
      line.append(random.Percent(2) ? random.Between(5100, 9000) : random.Between(200, 900), 'x');
      line += '\'';
    }
    out.Line(line);
    if (random.Percent(15) && depth < 5)
      ++depth;
    else if (random.Percent(15) && depth > 1)
      --depth;
  }
  out.Line("[END]");
}

void Window(ExportWriter& out, Random& random, const std::string& title) {
  out.Line("[WINDOW]");
  out.Line("QuickWindow WINDOW('" + title +
           "'),AT(,,282,182),FONT('Segoe UI',9,,FONT:regular,CHARSET:DEFAULT),RESIZE,CENTER,"
           "GRAY,IMM,MDI,HLP('" +
           title + "'),SYSTEM");
  out.Line("       SHEET,AT(4,4,274,156),USE(?CurrentTab)");
  out.Line("         TAB('&" + Name(random) + "'),USE(?Tab:1)");
  const std::size_t controls = random.Between(2, 16);
  for (std::size_t c = 0; c < controls; ++c) {
    const std::string use = "CUS:" + Name(random);
    const std::size_t y = 20 + 14 * c;
    out.Line("           PROMPT('&" + use + ":'),AT(8," + std::to_string(y) + "),USE(?" + use +
             ":Prompt),TRN");
    out.Line("           " + std::string(random.Pick(kControls)) + "(" +
             std::string(random.Pick(kPictures)) + "),AT(61," + std::to_string(y) +
             ",164,10),USE(" + use + ")" + (random.Percent(30) ? ",REQ" : ""));
  }
  out.Line("         END");
  out.Line("       END");
  out.Line("       BUTTON('&OK'),AT(176,164,49,14),USE(?OK),LEFT,ICON('WAOK.ICO'),DEFAULT,FLAT");
  out.Line("     END");
}

void Report(ExportWriter& out, Random& random) {
  out.Line("[REPORT]");
  out.Line("Report REPORT,AT(250,850,8000,10000),PRE(RPT),FONT('Arial',10,,),THOUS");
  out.Line("detail DETAIL,AT(,,,229),USE(?detail)");
  const std::size_t strings = random.Between(2, 10);
  for (std::size_t s = 0; s < strings; ++s) {
    out.Line("         STRING(" + std::string(random.Pick(kPictures)) + "),AT(" +
             std::to_string(52 + 800 * s) + ",21,750,167),USE(ORD:" + Name(random) + ")");
  }
  out.Line("       END");
  out.Line("     END");
}

void Procedure(ExportWriter& out, Random& random) {
  const std::string name = "Update" + Name(random);
  out.Line("[PROCEDURE]");
  out.Line("NAME " + name);
  out.Line("[COMMON]");
  out.Line("DESCRIPTION '" + std::string(random.Pick(kPhrases)) + "'");
  out.Line(random.Percent(30) ? "FROM ABC Report" : "FROM ABC Form");
  out.Line("MODIFIED '2023/11/04' '15:12:55'");
  out.Line("[DATA]");
  const std::size_t locals = random.Between(1, 8);
  for (std::size_t l = 0; l < locals; ++l) Field(out, random, "Loc", 0);
  out.Line("[PROMPTS]");
  out.Line("%ButtonAction DEPEND %Control STRING TIMES 0");
  out.Line("%WindowOperationMode DEFAULT  ('Use WINDOW setting')");
  const std::size_t embeds = random.Between(1, 5);
  out.Line("[EMBED]");
  for (std::size_t e = 0; e < embeds; ++e) {
    out.Line("EMBED %" +
             std::string(e % 2 ? "ProcedureRoutines" : "WindowManagerMethodCodeSection"));
    out.Line("[INSTANCE]");
    out.Line("INSTANCE " + std::to_string(e + 1));
    out.Line("[DEFINITION]");
    EmbeddedSource(out, random);
    out.Line("[END]");
  }
  out.Line("[END]");
  out.Line("[CALLS]");
  out.Line("Browse" + Name(random));
  if (random.Percent(30))
    Report(out, random);
  else
    Window(out, random, name);
  out.Line("");
}

void Application(ExportWriter& out, Random& random) {
  out.Line("[APPLICATION]");
  out.Line("VERSION 34");
  out.Line("TODO ABC ToDo");
  out.Line("DICTIONARY 'C:\\Projekte\\Lager\\lager.dct'");
  out.Line("PROCEDURE Main");
  out.Line("[COMMON]");
  out.Line("DESCRIPTION 'Hauptmen\xfc'");
  out.Line("FROM ABC Frame");
  while (!out.Full()) Procedure(out, random);
}

// Each block of 100 lines (one slice) holds one costly kind of line.
void WorstCase(ExportWriter& out) {
  const std::string full(LINE_CAPACITY, 'F');
  const std::string tabs = std::string(626, '\t') + "TAIL";        // 5008 blanks and 4 letters
  const std::string tabs_past_end = "X" + std::string(700, '\t');  // X, 5011 blanks, rest cut
  const std::string over_long(20000, 'L');                         // two refills skipped
  const std::string ident = "!!> IDENT(4294967295)," + std::string(4990, 'r');
  const std::string ident_without_comma = "!!> IDENT(" + std::string(5002, '7');
  std::string lone_crs;
  while (lone_crs.size() < 5012) lone_crs += "c\r";
  const std::array<const std::string*, 7> kinds = {
      &full, &tabs, &tabs_past_end, &over_long, &ident, &ident_without_comma, &lone_crs};
  while (!out.Full()) {
    for (const std::string* kind : kinds) {
      for (int i = 0; i < 100; ++i) out.Line(*kind);
    }
  }
}

}  // namespace

std::optional<ExportKind> ParseExportKind(std::string_view name) {
  if (name == "txd") return ExportKind::Dictionary;
  if (name == "txa") return ExportKind::Application;
  if (name == "worst") return ExportKind::WorstCase;
  return std::nullopt;
}

std::string_view ExportKindName(ExportKind kind) {
  switch (kind) {
    case ExportKind::Dictionary:
      return "txd";
    case ExportKind::Application:
      return "txa";
    case ExportKind::WorstCase:
      return "worst";
  }
  return "";
}

void GenerateExport(ExportKind kind, std::uint64_t target_bytes,
                    const std::function<void(std::string_view)>& sink) {
  ExportWriter out(target_bytes, sink);
  Random random(0x1d3a7'2019ULL + static_cast<std::uint64_t>(kind));
  switch (kind) {
    case ExportKind::Dictionary:
      Dictionary(out, random);
      break;
    case ExportKind::Application:
      Application(out, random);
      break;
    case ExportKind::WorstCase:
      WorstCase(out);
      break;
  }
  out.Raw("\x1a");
}

std::string GenerateExport(ExportKind kind, std::uint64_t target_bytes) {
  std::string bytes;
  GenerateExport(kind, target_bytes, [&](std::string_view piece) { bytes += piece; });
  return bytes;
}

}  // namespace identstrip::bench
