#include "alerts/AlertDialogHooks.h"
#include "alerts/EMailRecord.h"
#include "core/StringRoutines.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(EMailRecord, AGivenIDIsCutToSevenCharacters) {
  const EMailRecord r("ABCDEFGHIJ", "Body", "Subject", "to@x.org", "Name");
  EXPECT_EQ(r.ID, "ABCDEFG");
  EXPECT_EQ(r.Body, "Body");
  EXPECT_EQ(r.Subject, "Subject");
  EXPECT_EQ(r.SendTo, "to@x.org");
  EXPECT_EQ(r.Name, "Name");
}

TEST(EMailRecord, ANewIDMapsDrawsToLettersAndDigits) {
  const int draws[] = {0, 25, 26, 51, 52, 61, 30};
  int next = 0;
  SetRandomSource([&](int n) {
    EXPECT_EQ(n, 62);
    return draws[next++ % 7];
  });
  const EMailRecord r("", "", "", "", "T");
  SetRandomSource(nullptr);
  EXPECT_EQ(r.ID, "AZaz09e");
}

TEST(EMailSetupList, KeepsOrderAndFindsByNameAndID) {
  EMailSetupList list;
  list.Add("One", std::make_unique<EMailRecord>("Id00001", "", "s", "t", "One"));
  list.Add("Two", std::make_unique<EMailRecord>("Id00002", "", "s", "t", "Two"));
  list.Add("One", std::make_unique<EMailRecord>("Id00003", "", "s", "t", "One"));
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.IndexOfName("ONE"), 0);
  EXPECT_EQ(list.IndexOfName("Three"), -1);
  EXPECT_EQ(list.FindByID("Id00002"), list.Record(1));
  EXPECT_EQ(list.FindByID("id00002"), nullptr);
  list.SetName(1, "Renamed");
  EXPECT_EQ(list.Name(1), "Renamed");
  list.Delete(0);
  EXPECT_EQ(list.Record(0)->ID, "Id00002");
  EXPECT_EQ(list.Record(5), nullptr);
  EXPECT_EQ(list.Name(-1), "");
  list.Delete(9); // out of range: nothing
  EXPECT_EQ(list.Count(), 2);
}

TEST(MailSettings, DefaultsAndSnapshots) {
  ResetMailSettings();
  const MailSettings d = GetMailSettings();
  EXPECT_EQ(d.SMTPHost, "**none**");
  EXPECT_EQ(d.SMTPPort, 25);
  EXPECT_EQ(d.FromAddress, "alerts@example.com");
  EXPECT_EQ(d.Authenticate, 0);
  EXPECT_EQ(d.UserName, "");
  EXPECT_EQ(d.Password, "");

  // A reader on another thread sees one setting or the other, never a mix.
  MailSettings a, b;
  a.SMTPHost = "a.org";
  a.SMTPPort = 1;
  b.SMTPHost = "b.org";
  b.SMTPPort = 2;
  std::atomic<bool> stop{false};
  std::atomic<int> mixed{0};
  std::thread reader([&] {
    while (!stop) {
      const MailSettings s = GetMailSettings();
      if ((s.SMTPHost == "a.org" && s.SMTPPort != 1) || (s.SMTPHost == "b.org" && s.SMTPPort != 2))
        ++mixed;
    }
  });
  for (int i = 0; i < 2000; ++i)
    SetMailSettings(i % 2 ? a : b);
  stop = true;
  reader.join();
  EXPECT_EQ(mixed.load(), 0);
  ResetMailSettings();
}

TEST(AlertDialogHooks, DoNothingUntilInstalledAndSwallowErrors) {
  CloseAlertDialogs("ABCDEF"); // no hook: nothing happens
  std::string got;
  SetCloseAlertDialogsHook([&](const std::string &id) { got = id; });
  CloseAlertDialogs("ALL");
  EXPECT_EQ(got, "ALL");
  SetCloseSymbolAlertDialogsHook([](const std::string &) { throw std::runtime_error("gone"); });
  EXPECT_NO_THROW(CloseSymbolAlertDialogs("IBM"));
  SetCloseAlertDialogsHook(nullptr);
  SetCloseSymbolAlertDialogsHook(nullptr);
}

} // namespace
