#include "AlertPassFixture.h"

#include "alerts/AlertMailComposer.h"
#include "alerts/EMailRecord.h"
#include "alerts/MailQueue.h"

namespace {

class AlertMailTest : public AlertPassFixture {
protected:
  void SetUp() override {
    AlertPassFixture::SetUp();
    ResetMailSettings();
    SetAlertMailSink([this](const AlertMail &mail) { mails.push_back(mail); });

    QuoteFields q;
    q.Last = 106.25;
    q.Bid = 106.2;
    q.Ask = 106.3;
    q.Volume = 12345678;
    q.High = 107.5;
    q.Low = 104;
    q.PrevClose = 105;
    q.BidSize = 300;
    q.AskSize = 500;
    q.LastVolume = 200;
    q.NumTrades = 4321;
    q.AvgTrade = 150;
    StoreQuote("IBM", q);
    FundData f;
    f.CompanyName = "Intl Business Mach";
    f.PrevClose = 104.75;
    f.AvgVolume = 5432100;
    f.Low52 = 90.5;
    f.High52 = 150.25;
    f.PE = 22.125;
    f.Earnings = 4.8;
    f.MarketCap = "120.5B";
    f.Dividend = 1.65;
    f.Yield = 3.1;
    StoreFundamentals("IBM", f);

    alert.Symbol = "IBM";
    alert.ID = "ABCDEF";
    alert.AlertType = 1;
    alert.P1 = 105.5;
    alert.P2 = 1.0;
    alert.EMailSetupID = "SETUP01";
  }
  void TearDown() override {
    SetAlertMailSink(nullptr);
    ResetMailSettings();
    AlertPassFixture::TearDown();
  }
  void AddSetup(const std::string &id, const std::string &subject, const std::string &body,
                const std::string &sendTo = "desk@example.com") {
    EMailSetups().Add(id, std::make_unique<EMailRecord>(id, body, subject, sendTo, id));
  }

  TAlertRecord alert;
  std::vector<AlertMail> mails;
};

TEST_F(AlertMailTest, TwentyEightPlaceholders) {
  const std::vector<std::string> expected = {
      "SYMBOL",  "FULLDESC", "SHORTDESC", "ALERTTYPE", "BID",      "ASK",       "LAST",
      "CHANGE",  "HIGH",     "LOW",       "VOL",       "DATE",     "TIME",      "BIDSIZE",
      "ASKSIZE", "LASTVOL",  "NUMTRADES", "AVGTRADE",  "COMPNAME", "PREVCLOSE", "AVGVOL",
      "LOW52",   "HIGH52",   "PE",        "EARN",      "DIV",      "YIELD",     "CAP"};
  EXPECT_EQ(AlertPlaceholderNames(), expected);
}

TEST_F(AlertMailTest, EveryPlaceholderInAMail) {
  const std::vector<std::pair<std::string, std::string>> table = {
      {"SYMBOL", "IBM"},
      {"FULLDESC", "Last Price for IBM reached 105.5 or above. Trigger alarm only when the "
                   "limit is crossed on an up tick."},
      {"SHORTDESC", "IBM: High Last Price at 105.5"},
      {"ALERTTYPE", "High Price"},
      {"BID", "106.2"},
      {"ASK", "106.3"},
      {"LAST", "106.25"},
      {"CHANGE", "1.25"},
      {"HIGH", "107.5"},
      {"LOW", "104"},
      {"VOL", "12,345,678"},
      {"DATE", "Jan 10, 2024"},
      {"TIME", "10:30:05 AM"},
      {"BIDSIZE", "300"},
      {"ASKSIZE", "500"},
      {"LASTVOL", "200"},
      {"NUMTRADES", "4321"},
      {"AVGTRADE", "150"},
      {"COMPNAME", "Intl Business Mach"},
      {"PREVCLOSE", "104.75"},
      {"AVGVOL", "5,432,100"},
      {"LOW52", "90.5"},
      {"HIGH52", "150.25"},
      {"PE", "22.125"},
      {"EARN", "4.8"},
      {"DIV", "1.65"},
      {"YIELD", "3.1"},
      {"CAP", "120.5B"},
  };
  ASSERT_EQ(table.size(), 28u);
  std::string body;
  std::string expected;
  for (const auto &[name, value] : table) {
    body += name + "=<" + name + ">\r\n";
    expected += name + "=" + value + "\r\n";
  }
  AddSetup("SETUP01", "Alert", body);
  ASSERT_TRUE(ComposeAlertMail(alert));
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(mails[0].Body, expected);
}

TEST_F(AlertMailTest, SubjectSenderAndRecipients) {
  MailSettings settings;
  settings.FromAddress = "tickvane@example.org";
  SetMailSettings(settings);
  AddSetup("OTHER", "Other", "x");
  AddSetup("SETUP01", "<symbol> at <Last>", "Body", "a@example.com; <SYMBOL>@example.com");
  AddSetup("SETUP01", "Second setup with the same ID", "y");
  ASSERT_TRUE(ComposeAlertMail(alert));
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(mails[0].Sender, "tickvane@example.org");
  EXPECT_EQ(mails[0].Subject, "IBM at 106.25") << "names in any letter case; first setup";
  EXPECT_EQ(mails[0].SendTo, "a@example.com; <SYMBOL>@example.com") << "used unchanged";
}

TEST_F(AlertMailTest, EmptySubjectBecomesNone) {
  AddSetup("SETUP01", "", "Body");
  ASSERT_TRUE(ComposeAlertMail(alert));
  EXPECT_EQ(mails.at(0).Subject, "<None>");
}

TEST_F(AlertMailTest, NoMailWithoutSetupOrText) {
  AddSetup("SETUP01", "", "");
  EXPECT_FALSE(ComposeAlertMail(alert));
  alert.EMailSetupID = "NOSUCH";
  EXPECT_FALSE(ComposeAlertMail(alert));
  alert.EMailSetupID = "";
  EXPECT_FALSE(ComposeAlertMail(alert));
  EXPECT_TRUE(mails.empty());
}

TEST_F(AlertMailTest, UnknownAndEmptyPlaceholdersStay) {
  StoreFundamentals("IBM", FundData{}); // no company name
  AddSetup("SETUP01", "S", "<NOPE> <COMPNAME> <> <LAST");
  ComposeAlertMail(alert);
  EXPECT_EQ(mails.at(0).Body, "<NOPE> <COMPNAME> <> <LAST");
}

TEST_F(AlertMailTest, DefaultSinkQueuesForTheMailSender) {
  SetAlertMailSink(nullptr);
  MailQueue().Clear();
  AddSetup("SETUP01", "Alert <SYMBOL>", "Last <LAST>");
  ASSERT_TRUE(ComposeAlertMail(alert));
  const std::optional<std::string> item = MailQueue().TakeFirst();
  MailQueue().Clear();
  ASSERT_TRUE(item.has_value());
  EXPECT_EQ(*item, std::string("1|") + MailSettings::PlaceholderSender +
                       "|desk@example.com|Alert IBM|Last 106.25");
}

struct SubstituteCase {
  const char *name;
  const char *text;
  const char *expected;
};

class Substitute : public ::testing::TestWithParam<SubstituteCase> {};

TEST_P(Substitute, Text) {
  const auto valueOf = [](const std::string &name) -> std::string {
    if (name == "A")
      return "alpha";
    if (name == "B")
      return "<A>";
    if (name == "E")
      return "";
    return "";
  };
  EXPECT_EQ(SubstituteAlertPlaceholders(GetParam().text, valueOf), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, Substitute,
                         ::testing::Values(SubstituteCase{"Plain", "no names", "no names"},
                                           SubstituteCase{"One", "x <A> y", "x alpha y"},
                                           SubstituteCase{"LowerCase", "<a><A>", "alphaalpha"},
                                           SubstituteCase{"Unknown", "<Z> <A>", "<Z> alpha"},
                                           SubstituteCase{"EmptyValue", "<E>", "<E>"},
                                           SubstituteCase{"InnermostOpening", "<<A>>", "<alpha>"},
                                           SubstituteCase{"ValueNotScannedAgain", "<B>", "<A>"},
                                           SubstituteCase{"CloseWithoutOpen", "> <A>", "> alpha"},
                                           SubstituteCase{"OpenStaysAfterReplacement", "<A>A>",
                                                          "alphaA>"}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
