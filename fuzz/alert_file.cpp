// ALERTS.DAT: any bytes are loaded without harm; what was loaded, saved and
// loaded again is the same (alerts, mail settings, e-mail setups), and a
// second save writes the same bytes as the first.
#include "FuzzSupport.h"

#include "alerts/AlertFile.h"
#include "alerts/AlertRecord.h"
#include "alerts/AlertSystem.h"
#include "alerts/EMailRecord.h"
#include "core/AlertDefaults.h"
#include "core/StringRoutines.h"

#include <cstring>
#include <vector>

namespace {

struct Loaded {
  std::vector<TAlertRecord> alerts;
  MailSettings mail;
  std::vector<std::string> setups; // name, ID, subject, send-to and body of each
  std::string bytes;               // SerializeAlertFile afterwards
};

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Every field the file keeps; the ID is drawn anew at each load and the
// run-time fields start afresh, so they are left out.
std::string Describe(const TAlertRecord &a) {
  std::string out = a.Symbol + "|" + std::to_string(a.AlertType) + "|" +
                    std::to_string(a.Actions.Bits()) + "|" + (a.Enabled ? "1" : "0") + "|" +
                    std::to_string(a.SoundIndex) + "|" + std::to_string(a.HighlightColor) + "|" +
                    a.EMailSetupID + "|" + a.WaveFile;
  for (double d : {a.P1, a.P2, a.P3, a.P4, a.P5, a.TriggerValue}) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    out += "|" + std::to_string(bits);
  }
  return out;
}

Loaded Load(const std::string &path) {
  ResetMailSettings();
  SetRandomSeed(7);
  AlertSystemClass store;
  LoadAlertFile(store, path);
  Loaded out;
  store.ForEachAlert("FUZZ", [&](const TAlertRecord &a) { out.alerts.push_back(a); });
  out.mail = GetMailSettings();
  for (int i = 0; i < EMailSetups().Count(); ++i) {
    const EMailRecord *r = EMailSetups().Record(i);
    out.setups.push_back(EMailSetups().Name(i) + "\x01" + r->ID + "\x01" + r->Name + "\x01" +
                         r->Subject + "\x01" + r->SendTo + "\x01" + r->Body);
  }
  out.bytes = SerializeAlertFile(store);
  return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  QuietErrorReports();
  SetAlertDefaults(TAlertDefaults{});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  ClearScratchFolder();
  const std::string input(reinterpret_cast<const char *>(data), size);
  const std::string path = ScratchPath(AlertFileName);
  WriteScratchFile(path, input);
  const Loaded first = Load(path);

  ClearScratchFolder();
  WriteScratchFile(path, first.bytes);
  const Loaded second = Load(path);

  const std::string where = "input: " + Shown(input);
  FUZZ_CHECK(second.alerts.size() == first.alerts.size(), where);
  for (std::size_t i = 0; i < first.alerts.size(); ++i) {
    FUZZ_CHECK(Describe(second.alerts[i]) == Describe(first.alerts[i]),
               where + "\nfirst:  " + Shown(Describe(first.alerts[i])) +
                   "\nsecond: " + Shown(Describe(second.alerts[i])));
    FUZZ_CHECK(SameBits(second.alerts[i].P5, first.alerts[i].P5), where);
  }
  FUZZ_CHECK(second.mail == first.mail, where + "\nhost " + Shown(first.mail.SMTPHost) + ":" +
                                            std::to_string(first.mail.SMTPPort) + " became " +
                                            Shown(second.mail.SMTPHost) + ":" +
                                            std::to_string(second.mail.SMTPPort));
  FUZZ_CHECK(second.setups == first.setups, where);
  // Nothing but the alerts' IDs may differ between the two saves.
  FUZZ_CHECK(second.bytes.size() == first.bytes.size(), where);
  ResetMailSettings();
  return 0;
}
