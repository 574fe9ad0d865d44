#include "alerts/AlertFile.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertSystem.h"
#include "alerts/AlertsModule.h"
#include "alerts/EMailRecord.h"
#include "core/AlertDefaults.h"
#include "core/ErrorReport.h"
#include "core/StringRoutines.h"
#include "platform/SystemErrorText.h"
#include "support/FileSizeLimit.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

namespace {

// ---- Bytes made by hand, independent of the writer under test

std::string LE32(std::int32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i)
    s += char((std::uint32_t(v) >> (8 * i)) & 0xFF);
  return s;
}

std::string LE64(double d) {
  const auto bits = std::bit_cast<std::uint64_t>(d);
  std::string s;
  for (int i = 0; i < 8; ++i)
    s += char((bits >> (8 * i)) & 0xFF);
  return s;
}

std::string Counted(const std::string &text) { return LE32(std::int32_t(text.size())) + text; }

void Put(std::string &block, std::size_t offset, const std::string &bytes) {
  block.replace(offset, bytes.size(), bytes);
}

void PutShort(std::string &block, std::size_t offset, const std::string &text) {
  Put(block, offset, char(text.size()) + text);
}

struct HandRecord {
  std::string symbol = "IBM";
  std::string id = "QQQQQQ";
  int type = 1;
  double p[5] = {105.5, 1, 0, 0, 0};
  int actions = 0x18;
  int activeActions = 0x02;
  double times[7] = {1, 2, 3, 4, 5, 6, 7};
  double lastAlert = 45000;
  double trigger = 106.25;
  int enabled = 1;
  int sound = 3;
  int color = 65280;
  int tick = 42;
  std::string setup = "Tmpl001";
  std::string wave = "";
};

// Version 1.02 and 1.03 layout: 172 bytes.
std::string Block102(const HandRecord &r) {
  std::string b(172, '\0');
  PutShort(b, 0, r.symbol);
  PutShort(b, 16, r.id);
  b[23] = char(r.type);
  for (int i = 0; i < 5; ++i)
    Put(b, 28 + 8 * i, LE64(r.p[i]));
  b[68] = char(r.actions);
  b[69] = char(r.activeActions);
  for (int i = 0; i < 7; ++i)
    Put(b, 76 + 8 * i, LE64(r.times[i]));
  Put(b, 132, LE64(r.lastAlert));
  Put(b, 140, LE64(r.trigger));
  b[148] = char(r.enabled);
  Put(b, 152, LE32(r.sound));
  Put(b, 156, LE32(r.color));
  Put(b, 160, LE32(r.tick));
  PutShort(b, 164, r.setup);
  return b;
}

// Version 1.01 layout: 156 bytes, six activation times, no setup ID.
std::string Block101(const HandRecord &r) {
  std::string b(156, '\0');
  PutShort(b, 0, r.symbol);
  PutShort(b, 16, r.id);
  b[23] = char(r.type);
  for (int i = 0; i < 5; ++i)
    Put(b, 28 + 8 * i, LE64(r.p[i]));
  b[68] = char(r.actions);
  b[69] = char(r.activeActions);
  for (int i = 0; i < 6; ++i)
    Put(b, 76 + 8 * i, LE64(r.times[i]));
  Put(b, 124, LE64(r.lastAlert));
  Put(b, 132, LE64(r.trigger));
  b[140] = char(r.enabled);
  Put(b, 144, LE32(r.sound));
  Put(b, 148, LE32(r.color));
  Put(b, 152, LE32(r.tick));
  return b;
}

HandRecord Sentinel() {
  HandRecord r;
  r.symbol = "ENDING";
  r.id = "";
  r.type = 0;
  r.setup = "";
  return r;
}

std::string Record102(const HandRecord &r) { return Block102(r) + Counted(r.wave); }
std::string Record101(const HandRecord &r) { return Block101(r) + Counted(r.wave); }
std::string End102() { return Block102(Sentinel()) + LE32(0); }
std::string End101() { return Block101(Sentinel()) + LE32(0); }

std::string MailSection(const std::string &hostAndPort, const std::string &setups = LE32(0),
                        const std::string &version = "1.02") {
  std::string s = Counted(version) + Counted(hostAndPort) + Counted("me@x.org");
  if (version != "1.01")
    s += char(1) + Counted("user") + Counted("secret");
  return s + setups;
}

std::string SetupBytes(const std::string &id, const std::string &name,
                       const std::vector<std::string> &bodyTexts) {
  std::string s = Counted(id) + Counted(name) + Counted("Subj") + Counted("to@x.org");
  for (const std::string &text : bodyTexts)
    s += Counted(text);
  return s + Counted("---ENDOFBODY---");
}

// ---- Fixture

class AlertFile : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetAlertDefaults(TAlertDefaults{});
    ResetMailSettings();
    SetRandomSeed(11);
    SetErrorReportSink([this](const std::string &message, const std::string &place) {
      reports.push_back(place + ": " + message);
    });
  }
  void TearDown() override {
    SetErrorReportSink(nullptr);
    ResetMailSettings();
  }

  std::string Path(const std::string &name = AlertFileName) const {
    return dir.filePath(QString::fromStdString(name)).toStdString();
  }
  void WriteBytes(const std::string &bytes, const std::string &name = AlertFileName) {
    QFile f(QString::fromStdString(Path(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), qint64(bytes.size()));
  }
  std::string ReadBytes(const std::string &name = AlertFileName) const {
    QFile f(QString::fromStdString(Path(name)));
    if (!f.open(QIODevice::ReadOnly))
      return "<missing>";
    return f.readAll().toStdString();
  }
  AlertFileReport Load(const std::string &bytes) {
    WriteBytes(bytes);
    return LoadAlertFile(store, Path());
  }
  std::vector<TAlertRecord> Alerts() {
    std::vector<TAlertRecord> out;
    store.ForEachAlert("TEST", [&](const TAlertRecord &a) { out.push_back(a); });
    return out;
  }

  QTemporaryDir dir;
  AlertSystemClass store;
  std::vector<std::string> reports;
};

// ---- Writing

TEST_F(AlertFile, AnEmptyStoreWritesHeaderEndRecordAndMailSection) {
  const std::string sender = MailSettings::PlaceholderSender;
  std::string expected = "1.03";
  // End record: "ENDING" with the fields of a new alert under the start-up
  // defaults (highlight, flash and pop-up; no sound; colour 255; enabled).
  std::string block(172, '\0');
  PutShort(block, 0, "ENDING");
  block[68] = 0x0E;
  block[148] = 1;
  Put(block, 152, "\xFF\xFF\xFF\xFF");
  Put(block, 156, std::string("\xFF\x00\x00\x00", 4));
  Put(block, 160, "\xFF\xFF\xFF\xFF");
  expected += block + std::string(4, '\0');
  expected += Counted("1.02") + Counted("**none**:25") + Counted(sender) + '\0' + Counted("") +
              Counted("") + LE32(0);

  SaveAlertFile(store, Path());
  const std::string bytes = ReadBytes();
  EXPECT_EQ(bytes.size(), 220 + sender.size());
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(SerializeAlertFile(store), expected);
}

TEST_F(AlertFile, TheFileIsReadableByItsOwnerOnly) {
  WriteBytes("old");
  QFile::setPermissions(QString::fromStdString(Path()),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                            QFileDevice::ReadOther);
  for (int round = 0; round < 2; ++round) {
    SaveAlertFile(store, Path());
    struct stat st {};
    ASSERT_EQ(stat(Path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << round;
    QFile::remove(QString::fromStdString(Path())); // second round: a new file
  }
}

TEST_F(AlertFile, AFailedSaveLeavesNoTemporaryFileAndRaises) {
  SaveAlertFile(store, Path());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"ALERTS.DAT"});
  EXPECT_THROW(SaveAlertFile(store, Path("missing/ALERTS.DAT")), EAlertFileError);
}

TEST_F(AlertFile, AFullDiskLeavesTheOldFileWhole) {
  SaveAlertFile(store, Path());
  const std::string before = ReadBytes();
  store.AddAlert(TAlertRecord::Create());
  std::string error;
  {
    FileSizeLimit full(16);
    ASSERT_TRUE(full.Active());
    try {
      SaveAlertFile(store, Path());
    } catch (const EAlertFileError &e) {
      error = e.what();
    }
  }
  EXPECT_EQ(error, "Cannot write " + Path() + ": " + SystemErrorText(EFBIG));
  EXPECT_EQ(ReadBytes(), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"ALERTS.DAT"});
}

TEST_F(AlertFile, SavingWaitsForTheStoreLockAndNeverWritesAHalfFile) {
  SaveAlertFile(store, Path());
  const std::string before = ReadBytes();
  LockTimings quick;
  quick.retryIntervalMs = 0;
  quick.giveUpTries = 2;
  quick.deadlockTries = 3;
  MyCriticalSection::SetTimings(quick);
  MyCriticalSection::SetDeadlockReporter([](const std::string &) {});
  store.AddAlert(TAlertRecord::Create());
  ASSERT_TRUE(store.Lock.Lock("HOLDER", false));
  EXPECT_THROW(SaveAlertFile(store, Path()), EAlertStoreBusy);
  store.Lock.Unlock();
  MyCriticalSection::ResetTimings();
  MyCriticalSection::SetDeadlockReporter(nullptr);
  EXPECT_EQ(ReadBytes(), before);
}

// ---- Round trip

TEST_F(AlertFile, EveryKeptFieldSurvivesARoundTrip) {
  std::vector<TAlertRecord> originals;
  for (int type = 0; type < 4; ++type) {
    TAlertRecord a;
    a.Symbol = type == 3 ? "ABCDEFGHIJKLMNO" : "SYM" + std::to_string(type);
    a.AlertType = std::uint8_t(type);
    a.P1 = 10.125 + type;
    a.P2 = type == 3 ? 1.0 : 2.0;
    a.P3 = -0.5 * type;
    a.P4 = type == 3 ? 1.0 : 0.0;
    a.P5 = type == 2 ? 45001.75 : 0;
    a.Actions = TActionSet::FromBits(std::uint8_t(0x3E >> type));
    a.TriggerValue = 99.5 + type;
    a.Enabled = type != 1;
    a.SoundIndex = type - 1;
    a.HighlightColor = 0x123456 + type;
    a.EMailSetupID = type == 0 ? "" : "Tmpl00" + std::to_string(type);
    a.WaveFile = type == 2 ? "/home/me/sounds/ding dong.wav" : "";
    // Run-time state is written but starts afresh when read.
    a.ActiveActions = TActionSet::FromBits(0x06);
    a.ActivationTimes.fill(45000.5);
    a.LastAlertTime = 45000.25;
    a.TickIndex = 17;
    originals.push_back(a);
    store.AddAlert(std::make_unique<TAlertRecord>(a));
  }
  MailSettings mail;
  mail.SMTPHost = "mail.x.org";
  mail.SMTPPort = 587;
  mail.FromAddress = "me@x.org";
  mail.Authenticate = 1;
  mail.UserName = "me";
  mail.Password = "p:ss|word";
  SetMailSettings(mail);
  EMailSetups().Add("First", std::make_unique<EMailRecord>("Ab12345", "Line 1\r\nLine 2",
                                                           "<SYMBOL> alert", "a@x.org", "First"));
  EMailSetups().Add("Second", std::make_unique<EMailRecord>("Zz99999", "Ends in breaks\r\n\r\n", "",
                                                            "b@x.org;c@x.org", "Second"));
  EMailSetups().Add(
      "Empty", std::make_unique<EMailRecord>("Ee00000", "", "Only a subject", "d@x.org", "Empty"));
  SaveAlertFile(store, Path());
  const std::string firstBytes = ReadBytes();

  store.ClearAll();
  ResetMailSettings();
  const AlertFileReport report = LoadAlertFile(store, Path());
  EXPECT_TRUE(report.opened);
  EXPECT_EQ(report.version, "1.03");
  EXPECT_EQ(report.added, 4);
  EXPECT_TRUE(report.sentinelFound);
  EXPECT_TRUE(report.mailSectionRead);
  EXPECT_EQ(report.error, "");
  EXPECT_EQ(report.setAsidePath, "");
  EXPECT_TRUE(reports.empty());

  const std::vector<TAlertRecord> loaded = Alerts();
  ASSERT_EQ(loaded.size(), originals.size());
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    const TAlertRecord &a = loaded[i];
    const TAlertRecord &o = originals[i];
    EXPECT_TRUE(a.SameAs(o)) << i;
    EXPECT_EQ(a.P5, o.P5);
    EXPECT_EQ(a.TriggerValue, o.TriggerValue);
    EXPECT_EQ(a.SoundIndex, o.SoundIndex);
    EXPECT_EQ(a.WaveFile, o.WaveFile);
    EXPECT_EQ(a.ID.size(), 6u);
    EXPECT_TRUE(a.ActiveActions.Empty());
    EXPECT_EQ(a.ActivationTimes, (std::array<TDateTime, 7>{}));
    EXPECT_EQ(a.LastAlertTime, 0);
    EXPECT_EQ(a.TickIndex, -1);
  }
  EXPECT_EQ(GetMailSettings(), mail);
  ASSERT_EQ(EMailSetups().Count(), 3);
  const char *names[] = {"First", "Second", "Empty"};
  const char *bodies[] = {"Line 1\r\nLine 2", "Ends in breaks\r\n\r\n", ""};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(EMailSetups().Name(i), names[i]);
    EXPECT_EQ(EMailSetups().Record(i)->Name, names[i]);
    EXPECT_EQ(EMailSetups().Record(i)->Body, bodies[i]) << i;
  }
  EXPECT_EQ(EMailSetups().Record(0)->ID, "Ab12345");
  EXPECT_EQ(EMailSetups().Record(0)->Subject, "<SYMBOL> alert");
  EXPECT_EQ(EMailSetups().Record(1)->SendTo, "b@x.org;c@x.org");

  // Saved again, the file differs only in the IDs and the run-time state.
  SaveAlertFile(store, Path());
  EXPECT_EQ(ReadBytes().size(), firstBytes.size());
}

TEST_F(AlertFile, AnAlertOnTheSymbolENDINGDoesNotEndTheFile) {
  for (const char *symbol : {"ENDING", "IBM"}) {
    auto a = TAlertRecord::Create();
    a->Symbol = symbol;
    store.AddAlert(std::move(a));
  }
  MailSettings mail;
  mail.SMTPHost = "mail.x.org";
  SetMailSettings(mail);
  SaveAlertFile(store, Path());
  AlertSystemClass fresh;
  ResetMailSettings();
  const AlertFileReport report = LoadAlertFile(fresh, Path());
  EXPECT_EQ(report.added, 2);
  EXPECT_EQ(report.error, "");
  EXPECT_EQ(fresh.AlertIDs().size(), 2u);
  EXPECT_EQ(GetMailSettings().SMTPHost, "mail.x.org");
}

// ---- Older versions

TEST_F(AlertFile, Version101IsReadAtItsOldOffsets) {
  HandRecord r;
  r.wave = "c:\\ding.wav";
  r.sound = -1;
  const AlertFileReport report = Load("1.01" + Record101(r) + End101());
  EXPECT_EQ(report.added, 1);
  EXPECT_EQ(report.error, "");
  const std::vector<TAlertRecord> loaded = Alerts();
  ASSERT_EQ(loaded.size(), 1u);
  const TAlertRecord &a = loaded[0];
  EXPECT_EQ(a.Symbol, "IBM");
  EXPECT_EQ(a.AlertType, 1);
  EXPECT_EQ(a.P1, 105.5);
  EXPECT_EQ(a.P2, 1.0);
  EXPECT_EQ(a.Actions.Bits(), 0x18);
  EXPECT_EQ(a.TriggerValue, 106.25);
  EXPECT_TRUE(a.Enabled);
  EXPECT_EQ(a.SoundIndex, -1);
  EXPECT_EQ(a.HighlightColor, 65280);
  EXPECT_EQ(a.EMailSetupID, "");
  EXPECT_EQ(a.WaveFile, "c:\\ding.wav");
  EXPECT_EQ(a.TickIndex, -1);
  EXPECT_EQ(GetMailSettings(), MailSettings{});
}

TEST_F(AlertFile, Version102HasTheFullBlockAndNoMailSection) {
  HandRecord r;
  r.enabled = 0;
  HandRecord news;
  news.type = 2;
  news.p[0] = 3;
  news.setup = "";
  const AlertFileReport report = Load("1.02" + Record102(r) + Record102(news) + End102());
  EXPECT_EQ(report.added, 2);
  EXPECT_EQ(report.error, "");
  EXPECT_FALSE(report.mailSectionRead);
  const std::vector<TAlertRecord> loaded = Alerts();
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0].EMailSetupID, "Tmpl001");
  EXPECT_FALSE(loaded[0].Enabled);
  EXPECT_EQ(loaded[0].SoundIndex, 3);
  EXPECT_EQ(loaded[1].AlertType, 2);
  EXPECT_EQ(loaded[1].P1, 3);
  EXPECT_EQ(GetMailSettings(), MailSettings{});
}

TEST_F(AlertFile, DuplicateRecordsLoadOnce) {
  HandRecord r;
  HandRecord sameButRunTime = r;
  sameButRunTime.id = "ZZZZZZ";
  sameButRunTime.tick = 3;
  sameButRunTime.p[4] = 45000;
  const AlertFileReport report =
      Load("1.03" + Record102(r) + Record102(sameButRunTime) + End102() + MailSection("h:25"));
  EXPECT_EQ(report.added, 1);
  EXPECT_EQ(report.duplicates, 1);
  EXPECT_EQ(store.Count(), 1);
  EXPECT_EQ(report.error, "");
}

// ---- The e-mail section

struct HostCase {
  const char *name;
  const char *text;
  const char *host;
  int port;
};

class MailHost : public AlertFile, public ::testing::WithParamInterface<HostCase> {};

TEST_P(MailHost, SplitsAtTheFirstColon) {
  const HostCase &c = GetParam();
  const AlertFileReport report =
      Load("1.03" + End102() + MailSection(c.text, LE32(1) + SetupBytes("Ab12345", "T", {"Hi"})));
  EXPECT_TRUE(report.mailSectionRead);
  EXPECT_EQ(GetMailSettings().SMTPHost, c.host);
  EXPECT_EQ(GetMailSettings().SMTPPort, c.port);
  EXPECT_EQ(GetMailSettings().Password, "secret");
  ASSERT_EQ(EMailSetups().Count(), 1); // the templates are read whatever the port
  EXPECT_EQ(EMailSetups().Record(0)->Body, "Hi");
}

INSTANTIATE_TEST_SUITE_P(
    AlertFile, MailHost,
    ::testing::Values(HostCase{"WithPort", "mail.x.org:587", "mail.x.org", 587},
                      HostCase{"WithoutPort", "mail.x.org", "mail.x.org", 25},
                      HostCase{"PortNotANumber", "mail.x.org:abc", "mail.x.org", 25},
                      HostCase{"EmptyPort", "mail.x.org:", "mail.x.org", 25},
                      HostCase{"PortOutOfRange", "mail.x.org:70000", "mail.x.org", 25},
                      HostCase{"SecondColon", "h:2525:9", "h", 25},
                      HostCase{"NoHost", "**none**:25", "**none**", 25},
                      HostCase{"BracketedV6", "[2001:db8::25]:587", "2001:db8::25", 587},
                      HostCase{"BracketedV6NoPort", "[::1]", "::1", 25}),
    [](const auto &info) { return std::string(info.param.name); });

struct BodyCase {
  const char *name;
  std::vector<std::string> texts;
  const char *body;
};

class MailBody : public AlertFile, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(MailBody, TextsAreJoinedWithLineEnds) {
  const BodyCase &c = GetParam();
  Load("1.03" + End102() + MailSection("h:25", LE32(1) + SetupBytes("Ab12345", "T", c.texts)));
  ASSERT_EQ(EMailSetups().Count(), 1);
  EXPECT_EQ(EMailSetups().Record(0)->Body, c.body);
}

INSTANTIATE_TEST_SUITE_P(AlertFile, MailBody,
                         ::testing::Values(BodyCase{"OneText", {"a\r\nb"}, "a\r\nb"},
                                           BodyCase{
                                               "TrailingLineEnd", {"a\r\nb\r\n"}, "a\r\nb\r\n"},
                                           BodyCase{"TwoTexts", {"a", "b"}, "a\r\nb"},
                                           BodyCase{"TwoTextsTrailingEmpty", {"a", ""}, "a\r\n"},
                                           BodyCase{"Empty", {""}, ""}, BodyCase{"NoText", {}, ""}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(AlertFile, TheMailHostSurvivesSaveAndLoadIPv6Included) {
  struct Case {
    const char *host;
    int port;
    const char *stored;
  };
  for (const Case &c :
       {Case{"2001:db8::25", 587, "[2001:db8::25]:587"}, Case{"mail.x.org", 25, "mail.x.org:25"},
        Case{"192.0.2.7", 2525, "192.0.2.7:2525"}}) {
    MailSettings mail;
    mail.SMTPHost = c.host;
    mail.SMTPPort = c.port;
    SetMailSettings(mail);
    SaveAlertFile(store, Path());
    EXPECT_NE(ReadBytes().find(Counted(c.stored)), std::string::npos) << c.host;
    ResetMailSettings();
    EXPECT_TRUE(LoadAlertFile(store, Path()).mailSectionRead);
    EXPECT_EQ(GetMailSettings().SMTPHost, c.host);
    EXPECT_EQ(GetMailSettings().SMTPPort, c.port) << c.host;
  }
  EXPECT_TRUE(reports.empty());
}

TEST_F(AlertFile, ABodyThatIsTheEndMarkerDoesNotShiftTheSetupsAfterIt) {
  EMailSetups().Add(
      "Odd", std::make_unique<EMailRecord>("Odd0000", EndOfBodyMarker, "s1", "a@x.org", "Odd"));
  EMailSetups().Add("Next",
                    std::make_unique<EMailRecord>("Nxt0000", "b\r\nc", "s2", "b@x.org", "Next"));
  EMailSetups().Add(
      "Last", std::make_unique<EMailRecord>("Lst0000", EndOfBodyMarker, "s3", "c@x.org", "Last"));
  SaveAlertFile(store, Path());
  ResetMailSettings();
  const AlertFileReport report = LoadAlertFile(store, Path());
  EXPECT_TRUE(report.mailSectionRead);
  EXPECT_TRUE(reports.empty());
  ASSERT_EQ(EMailSetups().Count(), 3);
  const EMailRecord *odd = EMailSetups().Record(0);
  const EMailRecord *next = EMailSetups().Record(1);
  const EMailRecord *last = EMailSetups().Record(2);
  EXPECT_EQ(odd->Body, EndOfBodyMarker);
  EXPECT_EQ(next->ID, "Nxt0000");
  EXPECT_EQ(next->Name, "Next");
  EXPECT_EQ(next->Subject, "s2");
  EXPECT_EQ(next->SendTo, "b@x.org");
  EXPECT_EQ(next->Body, "b\r\nc");
  EXPECT_EQ(last->ID, "Lst0000");
  EXPECT_EQ(last->Body, EndOfBodyMarker);
}

TEST_F(AlertFile, MailSectionVersion101HasNoLogin) {
  const AlertFileReport report =
      Load("1.03" + End102() +
           MailSection("mail.x.org:26", LE32(1) + SetupBytes("Ab12345", "T", {"x"}), "1.01"));
  EXPECT_TRUE(report.mailSectionRead);
  EXPECT_EQ(GetMailSettings().SMTPPort, 26);
  EXPECT_EQ(GetMailSettings().FromAddress, "me@x.org");
  EXPECT_EQ(GetMailSettings().Authenticate, 0);
  EXPECT_EQ(GetMailSettings().UserName, "");
  EXPECT_EQ(EMailSetups().Count(), 1);
}

TEST_F(AlertFile, SetupsAreAppendedAndNamesMayRepeat) {
  EMailSetups().Add("Same", std::make_unique<EMailRecord>("Old0000", "", "s", "t", "Same"));
  Load("1.03" + End102() +
       MailSection("h",
                   LE32(2) + SetupBytes("Ab12345", "Same", {"1"}) + SetupBytes("", "Same", {"2"})));
  ASSERT_EQ(EMailSetups().Count(), 3);
  EXPECT_EQ(EMailSetups().Record(1)->ID, "Ab12345");
  EXPECT_EQ(EMailSetups().Record(2)->ID.size(), 7u); // an empty ID gets a new one
  EXPECT_EQ(EMailSetups().IndexOfName("same"), 0);
}

// ---- Damaged files

TEST_F(AlertFile, ShortStringLengthsAreClamped) {
  std::string block = Block102(HandRecord{});
  const std::string symbol = "ABCDEFGHIJKLMNO";
  Put(block, 0, char(200) + symbol);
  block[16] = char(9);
  Put(block, 164, char(255) + std::string("Tmpl001"));
  const AlertFileReport report = Load("1.02" + block + Counted("") + End102());
  EXPECT_EQ(report.added, 1);
  const std::vector<TAlertRecord> loaded = Alerts();
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].Symbol, symbol);
  EXPECT_EQ(loaded[0].EMailSetupID, "Tmpl001");
}

TEST_F(AlertFile, ABadTextCountStopsTheReadingAndKeepsWhatWasRead) {
  HandRecord first;
  HandRecord second;
  second.symbol = "MSFT";
  for (std::int32_t count : {-1, 1000000, 0x7FFFFFFF}) {
    reports.clear();
    store.ClearAll();
    const AlertFileReport report =
        Load("1.02" + Record102(first) + Block102(second) + LE32(count) + End102());
    EXPECT_EQ(store.Count(), 1) << count;
    EXPECT_NE(report.error.find("Bad text length"), std::string::npos) << report.error;
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("ReadAlerts: Mark 4.2 Bad text length", 0), 0u) << reports[0];
  }
}

TEST_F(AlertFile, ARecordOfAnUnknownTypeIsLeftOut) {
  HandRecord bad;
  bad.type = 4;
  HandRecord nan;
  nan.p[2] = std::nan("");
  HandRecord good;
  good.symbol = "MSFT";
  const AlertFileReport report =
      Load("1.02" + Record102(bad) + Record102(nan) + Record102(good) + End102());
  EXPECT_EQ(report.added, 1);
  EXPECT_EQ(report.skipped, 2);
  EXPECT_EQ(Alerts().at(0).Symbol, "MSFT");
  EXPECT_EQ(reports.size(), 1u);
  EXPECT_NE(report.setAsidePath, "");
}

TEST_F(AlertFile, AFileWithoutItsEndRecordIsReported) {
  const AlertFileReport report = Load("1.02" + Record102(HandRecord{}));
  EXPECT_EQ(report.added, 1);
  EXPECT_FALSE(report.sentinelFound);
  EXPECT_FALSE(report.error.empty());
}

TEST_F(AlertFile, EveryTruncationIsReportedWithoutLosingTheAlertsBeforeIt) {
  for (int i = 0; i < 3; ++i) {
    auto a = TAlertRecord::Create();
    a->Symbol = "S" + std::to_string(i);
    a->WaveFile = i == 1 ? "w.wav" : "";
    store.AddAlert(std::move(a));
  }
  EMailSetups().Add("T", std::make_unique<EMailRecord>("Ab12345", "Body", "Subj", "to", "T"));
  const std::string full = SerializeAlertFile(store);
  const QString setAside = QString::fromStdString(Path()) + ".bad";
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    AlertSystemClass fresh;
    ResetMailSettings();
    reports.clear();
    WriteBytes(full.substr(0, cut));
    const AlertFileReport report = LoadAlertFile(fresh, Path());
    ASSERT_FALSE(report.error.empty()) << cut;
    ASSERT_EQ(reports.size(), 1u) << cut;
    // Each record that ends before the cut is kept (the second one carries
    // a five-byte wave file name).
    const int complete =
        int(cut >= 4 + 176) + int(cut >= 4 + 176 + 181) + int(cut >= 4 + 176 + 181 + 176);
    ASSERT_EQ(fresh.Count(), complete) << cut;
    ASSERT_TRUE(QFile::remove(setAside)) << cut;
  }
}

// The file is read a piece at a time. Wherever a piece ends (inside a number,
// a text, a record, the e-mail section, before a body that is the end marker)
// the load finds what a load of the whole file finds, cut files included.
TEST_F(AlertFile, EveryPieceSizeLoadsWhatTheWholeFileHolds) {
  std::string full = "1.03";
  for (int i = 0; i < 6; ++i) {
    HandRecord r; // records 4 and 5 equal records 0 and 1
    r.symbol = "S" + std::to_string(i % 4);
    r.p[0] = 100 + i % 4;
    r.wave = std::string(std::size_t(5 * (i % 4)), char('a' + i % 4));
    full += Record102(r);
  }
  full += End102() + MailSection("h:25", LE32(2) + SetupBytes("Odd0000", "Odd", {EndOfBodyMarker}) +
                                             SetupBytes("Nxt0000", "Next", {"b", "c"}));
  struct Loaded {
    std::string error;
    int added;
    int duplicates;
    std::vector<std::string> alerts;
    MailSettings mail;
    std::vector<std::string> setups;
    bool operator==(const Loaded &) const = default;
  };
  const auto load = [&](const std::string &bytes, std::size_t piece) {
    WriteBytes(bytes);
    AlertSystemClass fresh;
    ResetMailSettings();
    const AlertFileReport report = LoadAlertFile(fresh, Path(), piece);
    Loaded out{report.error, report.added, report.duplicates, {}, GetMailSettings(), {}};
    fresh.ForEachAlert("TEST", [&](const TAlertRecord &a) {
      out.alerts.push_back(a.Symbol + " " + std::to_string(a.P1) + " " + a.WaveFile);
    });
    for (int i = 0; i < EMailSetups().Count(); ++i)
      out.setups.push_back(EMailSetups().Record(i)->ID + " " + EMailSetups().Record(i)->Body);
    if (!report.setAsidePath.empty()) // a cut file is set aside
      QFile::remove(QString::fromStdString(report.setAsidePath));
    reports.clear();
    return out;
  };
  const Loaded whole = load(full, full.size());
  ASSERT_EQ(whole.error, "");
  ASSERT_EQ(whole.added, 4);
  ASSERT_EQ(whole.duplicates, 2);
  ASSERT_EQ(whole.setups, (std::vector<std::string>{"Odd0000 " + std::string(EndOfBodyMarker),
                                                    "Nxt0000 b\r\nc"}));
  std::vector<std::size_t> pieces = {100, 175, 176, 177, 200, 512};
  for (std::size_t piece = 1; piece <= 24; ++piece)
    pieces.push_back(piece);
  for (std::size_t piece : pieces)
    ASSERT_EQ(load(full, piece), whole) << "piece " << piece;
  for (std::size_t cut = 0; cut < full.size(); cut += 13)
    ASSERT_EQ(load(full.substr(0, cut), 7), load(full.substr(0, cut), full.size())) << cut;
}

TEST_F(AlertFile, AnUnknownHeaderLeavesTheStoreEmptyAndTheFileIsKeptAside) {
  const std::string bytes = "1.04" + Record102(HandRecord{}) + End102() + MailSection("h:26");
  const AlertFileReport report = Load(bytes);
  EXPECT_EQ(store.Count(), 0);
  EXPECT_EQ(GetMailSettings(), MailSettings{});
  EXPECT_EQ(report.version, "1.04");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "ReadAlerts: Mark 3 Unknown alert file version \"1.04\"");
  EXPECT_EQ(report.setAsidePath, Path() + ".bad");
  EXPECT_EQ(ReadBytes("ALERTS.DAT.bad"), bytes);

  // The next save replaces ALERTS.DAT but not the copy; loading the same
  // damaged file again makes no second copy, a different one does.
  SaveAlertFile(store, Path());
  EXPECT_EQ(ReadBytes("ALERTS.DAT.bad"), bytes);
  EXPECT_EQ(Load(bytes).setAsidePath, Path() + ".bad");
  EXPECT_EQ(Load("XXXX").setAsidePath, Path() + ".bad2");
  EXPECT_EQ(ReadBytes("ALERTS.DAT.bad2"), "XXXX");
  EXPECT_EQ(QFileInfo(QString::fromStdString(Path() + ".bad2")).permissions() & 0x0077, 0);
}

TEST_F(AlertFile, ADamagedMailSectionKeepsWhatWasRead) {
  const std::string mail = Counted("1.02") + Counted("mail.x.org:587") + Counted("me@x.org") +
                           char(1) + Counted("user") + Counted("pw") + LE32(2) +
                           SetupBytes("Ab12345", "T", {"x"}) + LE32(-5);
  const AlertFileReport report = Load("1.03" + Record102(HandRecord{}) + End102() + mail);
  EXPECT_EQ(report.added, 1);
  EXPECT_FALSE(report.mailSectionRead);
  EXPECT_EQ(GetMailSettings().SMTPPort, 587);
  EXPECT_EQ(GetMailSettings().Password, "pw");
  EXPECT_EQ(EMailSetups().Count(), 1);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].rfind("ReadEMSetups: Mark 8 Bad text length -5", 0), 0u) << reports[0];

  reports.clear();
  ResetMailSettings();
  Load("1.03" + End102() + Counted("1.02") + Counted("h:1") + Counted("f") + char(0) + Counted("") +
       Counted("") + LE32(-1));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].rfind("ReadEMSetups: Mark 7 Bad setup count -1", 0), 0u) << reports[0];
  EXPECT_EQ(GetMailSettings().SMTPPort, 1);
}

TEST_F(AlertFile, AMissingFileChangesNothing) {
  store.AddAlert(TAlertRecord::Create());
  const AlertFileReport report = LoadAlertFile(store, Path("none.dat"));
  EXPECT_FALSE(report.opened);
  EXPECT_EQ(store.Count(), 1);
  EXPECT_TRUE(reports.empty());
}

// ---- Recovery copy and start-up

TEST_F(AlertFile, RecoveryCopy) {
  const std::string folder = dir.path().toStdString() + "/";
  WriteBytes("recovered", AlertRecoveryFileName);
  HandleAlertRecoveryCopy(folder);
  EXPECT_EQ(ReadBytes(), "recovered");
  EXPECT_EQ(ReadBytes(AlertRecoveryFileName), "<missing>");

  WriteBytes("stale", AlertRecoveryFileName);
  HandleAlertRecoveryCopy(folder);
  EXPECT_EQ(ReadBytes(), "recovered");
  EXPECT_EQ(ReadBytes(AlertRecoveryFileName), "<missing>");
}

TEST_F(AlertFile, ModuleStartRemovesTheTemporaryFilesOfKilledSaves) {
  AlertSystem().ClearAll();
  const std::string folder = dir.path().toStdString() + "/";
  const auto make = [this](const std::string &name, int ageSeconds) {
    WriteBytes("1.03", name);
    QFile f(QString::fromStdString(Path(name)));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                              QFileDevice::FileModificationTime));
  };
  make("ALERTS.DAT.tickvane-save-x1Y2z3", 3600); // a save killed an hour ago
  make("ALERTS.DAT.tickvane-save-Fresh0", 0);    // another copy of the program may be saving
  make("ALERTS.DAT.bad123", 3600);               // a damaged file kept aside
  make("ALERTS.DAT.copy01", 3600);               // the user's own copy
  InitAlertsModule(folder);
  QStringList left = QDir(dir.path()).entryList(QDir::Files);
  left.sort();
  EXPECT_EQ(left, (QStringList{"ALERTS.DAT.bad123", "ALERTS.DAT.copy01",
                               "ALERTS.DAT.tickvane-save-Fresh0"}));
  AlertSystem().ClearAll();
}

TEST_F(AlertFile, ModuleStartLoadsTheAlertFile) {
  AlertSystem().ClearAll();
  const std::string folder = dir.path().toStdString() + "/";
  EXPECT_FALSE(InitAlertsModule(folder).opened);
  EXPECT_EQ(AlertSystem().Count(), 0);
  WriteBytes("1.02" + Record102(HandRecord{}) + End102(), AlertRecoveryFileName);
  const AlertFileReport report = InitAlertsModule(folder);
  EXPECT_TRUE(report.opened);
  EXPECT_EQ(AlertSystem().Count(), 1);
  EXPECT_EQ(SpareAlertRecord().Actions.Bits(), 0x0E);
  AlertSystem().ClearAll();
}

} // namespace
