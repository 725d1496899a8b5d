#include "conversion/output_name.h"

#include <gtest/gtest.h>

namespace identstrip {
namespace {

TEST(ProposeOutputName, PutsNIBeforeTheExtensionOfTheFileName) {
  const struct {
    std::string input, proposal;
  } cases[] = {
      {"C:\\Apps\\Sales.TXD", "C:\\Apps\\SalesNI.TXD"},
      {"C:\\Apps\\Sales.text", "C:\\Apps\\SalesNI.tex"},
      {"C:\\Apps\\a.b.txd", "C:\\Apps\\aNI.b.t"},
      {"C:\\Apps\\Sales.", "C:\\Apps\\SalesNI."},
      // A dot in a folder name is not the file's extension.
      {"C:\\Work.old\\Sales.txa", "C:\\Work.old\\SalesNI.txa"},
      {"/work/data.old/Sales.txa", "/work/data.old/SalesNI.txa"},
      {"/a/Sales", "/a/SalesNI"},
      {"/a.b/Sales", "/a.b/SalesNI"},
      {"Sales.txd", "SalesNI.txd"},
      {"", "NI"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProposeOutputName(c.input), c.proposal) << c.input;
}

TEST(ProposeOutputName, IsCutTo254Characters) {
  const std::string input = "/" + std::string(252, 'x') + ".txa";
  const std::string proposal = ProposeOutputName(input);
  EXPECT_EQ(proposal.size(), 254u);
  EXPECT_EQ(proposal, ("/" + std::string(252, 'x') + "NI.txa").substr(0, 254));
}

}  // namespace
}  // namespace identstrip
