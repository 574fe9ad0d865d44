#include "alerts/pages/EMailPageRules.h"

#include "alerts/EMailRecord.h"
#include "core/ParFile.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
constexpr TDateTime kNow = 45301.6875; // 2024-01-10 16:30:00
}

TEST(EMailRules, PortTexts) {
  struct Row {
    const char *text;
    int port;
  };
  const Row rows[] = {{"default", 25}, {"", 25},      {"0", 25},  {"abc", 25},      {"587", 587},
                      {" 465 ", 465},  {"99999", 25}, {"-1", 25}, {"65535", 65535}, {"25", 25}};
  for (const Row &r : rows)
    EXPECT_EQ(ParseMailPortText(r.text), r.port) << r.text;
  EXPECT_EQ(MailPortText(25), "default");
  EXPECT_EQ(MailPortText(587), "587");
}

TEST(EMailRules, SenderDomainBlocks) {
  const std::string blocks = "@velkar.com|@tickvane.com|alerts@example.org";
  struct Row {
    const char *address;
    const char *expected;
  };
  const Row rows[] = {
      {"john@velkar.com", "john@"},
      {"John@Velkar.COM", "John@"},
      {"  mary@tickvane.com ", "mary@"},
      {"alerts@example.org", ""},
      {"ALERTS@EXAMPLE.ORG", ""},
      {"other@example.org", "other@example.org"},
      {"me@home.net", "me@home.net"},
      {"@velkar.com", ""},
      {"velkar.com", "velkar.com"},
      {"x@y@velkar.com", "x@y@"},
      {"", ""},
  };
  for (const Row &r : rows)
    EXPECT_EQ(ApplySenderDomainBlocks(r.address, blocks), r.expected) << r.address;
}

TEST(EMailRules, DomainBlocksComeFromTheProgramParameters) {
  SetProgramParams(TStringList());
  EXPECT_EQ(EMailDomainBlocks(), DefaultEMailDomainBlocks);
  EXPECT_EQ(ApplySenderDomainBlocks("sam@velkar.com", EMailDomainBlocks()), "sam@");
  TStringList params;
  params.Add("EMAILDOMBLOCKS=@blocked.net");
  SetProgramParams(params);
  EXPECT_EQ(EMailDomainBlocks(), "@blocked.net");
  EXPECT_EQ(ApplySenderDomainBlocks("sam@velkar.com", EMailDomainBlocks()), "sam@velkar.com");
  EXPECT_EQ(ApplySenderDomainBlocks("sam@blocked.net", EMailDomainBlocks()), "sam@");
  SetProgramParams(TStringList());
}

TEST(EMailRules, SampleValues) {
  EXPECT_EQ(EMailSampleValue("SYMBOL", kNow), "VLKR");
  EXPECT_EQ(EMailSampleValue("COMPNAME", kNow), "Zarnex, Inc.");
  EXPECT_EQ(EMailSampleValue("DIV", kNow), "--");
  EXPECT_EQ(EMailSampleValue("DATE", kNow), "Jan 10, 2024");
  EXPECT_EQ(EMailSampleValue("TIME", kNow), "04:30:00 PM");
  EXPECT_EQ(EMailSampleValue("PRICE", kNow), "");
  EXPECT_EQ(EMailSampleValue("symbol", kNow), "") << "names are looked up in upper case";
}

TEST(EMailRules, FillSampleValues) {
  struct Row {
    const char *text;
    const char *expected;
  };
  const Row rows[] = {
      {"<SYMBOL> at <LAST>", "VLKR at 80 1/2"},
      {"<symbol> hit <High>", "VLKR hit 80 3/4"},
      {"Price <PRICE> stays", "Price <PRICE> stays"},
      {"<<SYMBOL>>", "<VLKR>"},
      {"no placeholders", "no placeholders"},
      {"<SHORTDESC>", "VLKR: High Last Price at 80 1/2."},
      {"Open <SYMBOL", "Open <SYMBOL"},
      {"<DATE> <TIME>", "Jan 10, 2024 04:30:00 PM"},
  };
  for (const Row &r : rows)
    EXPECT_EQ(FillSampleValues(r.text, kNow), r.expected) << r.text;
}

TEST(EMailRules, PreviewText) {
  EXPECT_EQ(EMailPreviewText(" me@home.net ", "you@there.com; them@x.org", "  Alert <SYMBOL> ",
                             "\r\n<ALERTTYPE> reached\r\n<PRICE>\r\n", kNow),
            "From: me@home.net\r\nTo: you@there.com; them@x.org\r\nSubject: Alert VLKR\r\n\r\n"
            "High Price reached\r\n<PRICE>");
}

TEST(EMailRules, TestRecipients) {
  EXPECT_EQ(TestRecipientsText("a@x.org;b@y.org"), "a@x.org\r\nb@y.org");
  EXPECT_EQ(TestRecipientsText("a@x.org"), "a@x.org");
}

TEST(EMailRules, TemplateSaveErrors) {
  EMailSetupList setups;
  setups.Add("Mine", std::make_unique<EMailRecord>("AAAAAAA", "", "", "", "Mine"));
  setups.Add("Other", std::make_unique<EMailRecord>("BBBBBBB", "", "", "", "Other"));
  struct Row {
    const char *name;
    const char *sendTo, *subject, *body;
    const char *error;
  };
  const Row rows[] = {
      {"Mine", "a@b.c", "s", "", ""},
      {"OTHER", "a@b.c", "s", "b",
       "Email Setup named \"OTHER\" already exists. Please make sure the name is unique."},
      {"other", "a@b.c", "s", "b",
       "Email Setup named \"other\" already exists. Please make sure the name is unique."},
      {"Renamed", "  ", "s", "b",
       "Please enter the email address to which this email should be sent"},
      {"Renamed", "a@b.c", "  ", "",
       "Both the subject and the body of the message are empty. Cannot save the setup."},
      {"Renamed", "a@b.c", "", "body only", ""},
  };
  for (const Row &r : rows)
    EXPECT_EQ(TemplateSaveError(setups, 0, r.name, r.sendTo, r.subject, r.body), r.error)
        << r.name << "/" << r.sendTo;
}

TEST(EMailRules, NextTemplateName) {
  EXPECT_EQ(NextTemplateName({}), "Email Setup #1");
  EXPECT_EQ(NextTemplateName({"Email Setup #1", "Email Setup #3"}), "Email Setup #2");
  EXPECT_EQ(NextTemplateName({"Email Setup #2", "Email Setup #1"}), "Email Setup #3");
}

TEST(EMailRules, DeleteQuestions) {
  EXPECT_EQ(DeleteTemplateQuestion(0), "Are you sure you want to delete this setup?");
  EXPECT_EQ(DeleteTemplateQuestion(1),
            "One existing alert references this setup. Are you sure you want to delete it?");
  EXPECT_EQ(DeleteTemplateQuestion(4),
            "4 existing alerts reference this setup. Are you sure you want to delete it?");
}

TEST(EMailRules, PlaceholderMenu) {
  const auto &entries = PlaceholderMenuEntries();
  ASSERT_EQ(entries.size(), 28u);
  EXPECT_EQ(entries.front(), "<FULLDESC> - Full Alert Description");
  EXPECT_EQ(entries[13], "<BIDSIZE> - Bid Size");
  EXPECT_EQ(entries[14], "<ASKSIZE> - Ask Size");
  EXPECT_EQ(entries.back(), "<YIELD> - Yield");
  EXPECT_EQ(PlaceholderOfEntry(entries[3]), "<SYMBOL>");
  EXPECT_EQ(PlaceholderOfEntry("<PE> - Price/Earnings Ratio"), "<PE>");
  std::vector<int> starts;
  for (int i = 0; i < int(entries.size()); ++i)
    if (PlaceholderStartsColumn(i))
      starts.push_back(i);
  EXPECT_EQ(starts, std::vector<int>{14});
}

TEST(EMailRules, LineEnds) {
  EXPECT_EQ(ToDisplayLines("a\r\nb\rc\nd"), "a\nb\nc\nd");
  EXPECT_EQ(ToStoredLines("a\nb\r\nc"), "a\r\nb\r\nc");
}
