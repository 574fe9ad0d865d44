#include "alerts/pages/AlertPageRequest.h"

#include <gtest/gtest.h>

namespace {

using K = TAlertRequestKind;

const std::vector<TAlertTreeGroup> kTree = {
    {"AAPL", {{"AAPL", "QWERTY"}}},
    {"IBM", {{"IBM", "ABCDEF"}, {"IBM", "GHIJKL"}}},
    {"ibm", {{"ibm", "MNOPQR"}}},
    {"NEW ALERT", {}},
};

} // namespace

TEST(AlertPageRequestTest, ParsesTheRequestForms) {
  struct Case {
    const char *text;
    TAlertPageRequest expected;
  } cases[] = {
      {"!IBM", {K::NewAlert, "IBM"}},
      {"~IBM", {K::EditSymbol, "IBM"}},
      {"=ABCDEF", {K::EditAlert, "ABCDEF"}},
      {"", {}},
      {"!", {}},
      {"ABCDEF", {}}, // a bare ID is the heartbeat's to promote
      {"?IBM", {}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ParseAlertPageRequest(c.text), c.expected) << '"' << c.text << '"';
}

TEST(AlertPageRequestTest, AnAlertIDLeadsToItsNode) {
  EXPECT_EQ(FindRequestTarget({K::EditAlert, "GHIJKL"}, kTree), (TAlertTreeTarget{1, 1}));
  EXPECT_EQ(FindRequestTarget({K::EditAlert, "MNOPQR"}, kTree), (TAlertTreeTarget{2, 0}));
  EXPECT_FALSE(FindRequestTarget({K::EditAlert, "ZZZZZZ"}, kTree).Found());
}

TEST(AlertPageRequestTest, ASymbolWithSeveralAlertsLeadsToItsSymbolNode) {
  EXPECT_EQ(FindRequestTarget({K::EditSymbol, "IBM"}, kTree), (TAlertTreeTarget{1, -1}));
}

TEST(AlertPageRequestTest, ASymbolWithOneAlertLeadsToThatAlert) {
  EXPECT_EQ(FindRequestTarget({K::EditSymbol, "AAPL"}, kTree), (TAlertTreeTarget{0, 0}));
  EXPECT_EQ(FindRequestTarget({K::EditSymbol, "ibm"}, kTree), (TAlertTreeTarget{2, 0}));
  EXPECT_FALSE(FindRequestTarget({K::EditSymbol, "MSFT"}, kTree).Found());
}

TEST(AlertPageRequestTest, OtherKindsFindNothing) {
  EXPECT_FALSE(FindRequestTarget({K::NewAlert, "IBM"}, kTree).Found());
  EXPECT_FALSE(FindRequestTarget({}, kTree).Found());
}
