#include "conversion/ident_rule.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace identstrip {
namespace {

LineRecord RecordOf(std::string_view text) {
  LineRecord record;
  record.Assign(text);
  return record;
}

struct RuleCase {
  const char* what;
  std::string input;
  std::optional<std::string> output;  // nothing: the line is dropped
};

void PrintTo(const RuleCase& c, std::ostream* os) {
  *os << c.what;
}

class IdentRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(IdentRuleTest, YieldsTheExpectedLine) {
  const RuleCase& c = GetParam();
  const LineRecord input = RecordOf(c.input);
  LineRecord output = RecordOf("stale text from an earlier line that must not survive");
  const bool has_line = ApplyIdentRule(input, output);
  ASSERT_EQ(has_line, c.output.has_value());
  if (has_line) {
    EXPECT_EQ(output, RecordOf(*c.output)) << "got: " << output.Content();
  }
}

const std::string kFull(LINE_CAPACITY - 1, 'x');

INSTANTIATE_TEST_SUITE_P(
    Lines, IdentRuleTest,
    ::testing::Values(
        RuleCase{"ident item dropped", "!!> IDENT(4711),PRE(CUS)", "!!> PRE(CUS)"},
        RuleCase{"blank after comma kept", "!!> IDENT(12), NAME('X')", "!!>  NAME('X')"},
        RuleCase{"no comma: no line", "!!> IDENT(12)", std::nullopt},
        RuleCase{"prefix only: no line", "!!> IDENT", std::nullopt},
        RuleCase{"letters but no comma: no line", "!!> IDENT(1) NAME", std::nullopt},
        RuleCase{"comma last", "!!> IDENT(3),", "!!>"},
        RuleCase{"longer word matches", "!!> IDENTITY(2),KEEP", "!!> KEEP"},
        RuleCase{"first comma wins in parentheses", "!!> IDENT(1,2),REST", "!!> 2),REST"},
        RuleCase{"first comma wins in quotes", "!!> IDENT',',X", "!!> ',X"},
        RuleCase{"small letters pass", "!!> ident(1),X", "!!> ident(1),X"},
        RuleCase{"missing blank passes", "!!>IDENT(1),X", "!!>IDENT(1),X"},
        RuleCase{"leading blank passes", " !!> IDENT(1),X", " !!> IDENT(1),X"},
        RuleCase{"eight characters pass", "!!> IDEN", "!!> IDEN"},
        RuleCase{"empty line passes", "", ""},
        RuleCase{"ordinary line passes", "  Field  STRING(20)", "  Field  STRING(20)"},
        RuleCase{"inner blanks kept", "!!> IDENT(9),A  B   ", "!!> A  B"},
        RuleCase{"comma at the last position", "!!> IDENT" + kFull.substr(9) + ",", "!!>"},
        RuleCase{"full line", "!!> IDENT(1)," + std::string(LINE_CAPACITY - 13, 'y'),
                 "!!> " + std::string(LINE_CAPACITY - 13, 'y')}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

TEST(IdentRule, RewritesARecordInPlace) {
  LineRecord record = RecordOf("!!> IDENT(7),ABCDEFGHIJ");
  ASSERT_TRUE(ApplyIdentRule(record, record));
  EXPECT_EQ(record, RecordOf("!!> ABCDEFGHIJ"));
}

// A line copied as it stands into a record that held a line of another
// length: every length around the copy's chunks and the record's end, after
// a shorter and after a longer line, padding included.
TEST(IdentRule, CopiesALineOverAnyEarlierOne) {
  const std::size_t lengths[] = {0,
                                 1,
                                 15,
                                 16,
                                 17,
                                 31,
                                 32,
                                 33,
                                 100,
                                 LINE_CAPACITY - 17,
                                 LINE_CAPACITY - 16,
                                 LINE_CAPACITY - 5,
                                 LINE_CAPACITY - 4,
                                 LINE_CAPACITY - 1,
                                 LINE_CAPACITY};
  for (const std::size_t length : lengths) {
    for (const std::size_t earlier : {std::size_t{0}, std::size_t{7}, LINE_CAPACITY}) {
      const std::string text(length, 'n');
      LineRecord output = RecordOf(std::string(earlier, 'e'));
      ASSERT_TRUE(ApplyIdentRule(RecordOf(text), output));
      EXPECT_EQ(output.Text(), text + std::string(LINE_CAPACITY - length, ' '))
          << length << " after " << earlier;
      EXPECT_EQ(output.Content(), text);
    }
  }
}

}  // namespace
}  // namespace identstrip
