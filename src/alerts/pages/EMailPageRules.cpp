#include "alerts/pages/EMailPageRules.h"

#include "acquisition/SmtpClient.h"
#include "alerts/AlertFile.h"
#include "alerts/AlertMailComposer.h"
#include "alerts/EMailRecord.h"
#include "core/ParFile.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <map>

namespace {

constexpr int kDefaultPort = 25;
constexpr int kMaxPort = 65535;
constexpr const char *kCrLf = "\r\n";

const std::map<std::string, std::string> &SampleTable() {
  static const std::map<std::string, std::string> table{
      {"SYMBOL", "VLKR"},
      {"FULLDESC", "Last price for VLKR reached 80 1/2 or above. Trigger alarm only when the "
                   "limit is crossed on an up tick."},
      {"SHORTDESC", "VLKR: High Last Price at 80 1/2."},
      {"ALERTTYPE", "High Price"},
      {"BID", "80 1/2"},
      {"ASK", "80 3/4"},
      {"LAST", "80 1/2"},
      {"CHANGE", "+3 3/4"},
      {"VOL", "1,230,230"},
      {"HIGH", "80 3/4"},
      {"LOW", "77 1/4"},
      {"BIDSIZE", "23"},
      {"ASKSIZE", "5"},
      {"LASTVOL", "1200"},
      {"NUMTRADES", "2,125"},
      {"AVGTRADE", "578"},
      {"COMPNAME", "Zarnex, Inc."},
      {"PREVCLOSE", "76 3/4"},
      {"AVGVOL", "880,530"},
      {"LOW52", "15 1/2"},
      {"HIGH52", "90 3/4"},
      {"PE", "21.25"},
      {"EARN", "0.20"},
      {"CAP", "3.3B"},
      {"DIV", "--"},
      {"YIELD", "--"},
  };
  return table;
}

} // namespace

// ---- Server fields ------------------------------------------------------------------------

int ParseMailPortText(const std::string &text) {
  const std::int64_t port = StrToIntDef(Trim(text), 0);
  return port >= 1 && port <= kMaxPort ? int(port) : kDefaultPort;
}

void TakeMailServerFields(const std::string &hostText, const std::string &portText,
                          std::string &host, int &port) {
  port = ParseMailPortText(portText);
  if (!ParseSmtpHost(hostText, port, host, port))
    host = Trim(hostText);
}

std::string MailPortText(int port) {
  return port == kDefaultPort ? std::string("default") : std::to_string(port);
}

// ---- Refused sender domains -------------------------------------------------------------------

std::string EMailDomainBlocks() {
  return GetProgParam(EMailDomainBlocksParam, DefaultEMailDomainBlocks);
}

std::string ApplySenderDomainBlocks(const std::string &address, const std::string &blocks) {
  const std::string trimmed = Trim(address);
  const std::string list = "|" + LowerCase(blocks) + "|";
  const std::string a = LowerCase(trimmed);
  if (list.find("|" + a + "|") != std::string::npos)
    return {};
  // The domain is what follows the last "@", so that "x@y@refused" is caught too.
  const auto at = a.rfind('@');
  if (at == std::string::npos)
    return trimmed;
  if (list.find("|" + a.substr(at) + "|") != std::string::npos)
    return trimmed.substr(0, at + 1);
  return trimmed;
}

// ---- Sample values ------------------------------------------------------------------------------

std::string EMailSampleValue(const std::string &name, TDateTime now) {
  if (name == "DATE")
    return FormatDateTime("mmm dd, yyyy", now);
  if (name == "TIME")
    return FormatDateTime("hh:mm:ss AM/PM", now);
  const auto &table = SampleTable();
  const auto it = table.find(name);
  return it == table.end() ? std::string() : it->second;
}

std::string FillSampleValues(const std::string &text, TDateTime now) {
  return SubstituteAlertPlaceholders(
      text, [now](const std::string &name) { return EMailSampleValue(name, now); });
}

std::string EMailPreviewText(const std::string &from, const std::string &sendTo,
                             const std::string &subject, const std::string &body, TDateTime now) {
  return "From: " + Trim(from) + kCrLf + "To: " + Trim(sendTo) + kCrLf +
         "Subject: " + FillSampleValues(Trim(subject), now) + kCrLf + kCrLf +
         FillSampleValues(Trim(body), now);
}

std::string TestRecipientsText(const std::string &sendTo) {
  return StringReplaceAll(sendTo, ";", kCrLf);
}

// ---- Templates ----------------------------------------------------------------------------------

std::string TemplateSaveError(const EMailSetupList &setups, int editIndex, const std::string &name,
                              const std::string &sendTo, const std::string &subject,
                              const std::string &body) {
  const std::string upper = UpperCase(name);
  for (int i = 0; i < setups.Count(); ++i)
    if (i != editIndex && UpperCase(setups.Name(i)) == upper)
      return "Email Setup named \"" + name + "\" already exists. " +
             "Please make sure the name is unique.";
  if (Trim(sendTo).empty())
    return "Please enter the email address to which this email should be sent";
  if (Trim(subject).empty() && body.empty())
    return "Both the subject and the body of the message are empty. Cannot save the setup.";
  // The alert file ends every body with this line; a body that is only that
  // line could not be told apart from the end of an empty one.
  if (body == EndOfBodyMarker)
    return std::string("The message body cannot be just the line \"") + EndOfBodyMarker +
           "\". Please add to it or change it.";
  return {};
}

std::string NextTemplateName(const std::vector<std::string> &names) {
  for (int n = 1;; ++n) {
    const std::string candidate = "Email Setup #" + std::to_string(n);
    bool taken = false;
    for (const std::string &name : names)
      taken = taken || name == candidate;
    if (!taken)
      return candidate;
  }
}

std::string DeleteTemplateQuestion(int users) {
  const std::string tail = " this setup. Are you sure you want to delete it?";
  if (users <= 0)
    return "Are you sure you want to delete this setup?";
  if (users == 1)
    return "One existing alert references" + tail;
  return std::to_string(users) + " existing alerts reference" + tail;
}

// ---- Placeholder menu -------------------------------------------------------------------------

const std::vector<std::string> &PlaceholderMenuEntries() {
  static const std::vector<std::string> entries{
      "<FULLDESC> - Full Alert Description",
      "<SHORTDESC> - Short Alert Description",
      "<ALERTTYPE> - Alert Type",
      "<SYMBOL> - Symbol",
      "<BID> - Bid",
      "<ASK> - Ask",
      "<LAST> - Last Price",
      "<CHANGE> - Price Change",
      "<VOL> - Volume",
      "<HIGH> - High for the Day",
      "<LOW> - Low for the Day",
      "<DATE> - Alert Date",
      "<TIME> - Alert Time",
      "<BIDSIZE> - Bid Size",
      "<ASKSIZE> - Ask Size",
      "<LASTVOL> - Last Volume",
      "<NUMTRADES> - Number of Trades",
      "<AVGTRADE> - Average Trade",
      "<COMPNAME> - Company Name",
      "<PREVCLOSE> - Previous Close",
      "<AVGVOL> - Average Volume",
      "<LOW52> - 52-week Low",
      "<HIGH52> - 52-week High",
      "<PE> - Price/Earnings Ratio",
      "<EARN> - Earnings",
      "<CAP> - Market Cap",
      "<DIV> - Divident",
      "<YIELD> - Yield",
  };
  return entries;
}

std::string PlaceholderOfEntry(const std::string &entry) {
  const auto close = entry.find('>');
  return close == std::string::npos ? entry : entry.substr(0, close + 1);
}

bool PlaceholderStartsColumn(int index) {
  return index > 0 && index % PlaceholderMenuColumnLength == 0;
}

// ---- Line ends ----------------------------------------------------------------------------------

std::string ToDisplayLines(const std::string &text) {
  return StringReplaceAll(StringReplaceAll(text, "\r\n", "\n"), "\r", "\n");
}

std::string ToStoredLines(const std::string &text) {
  return StringReplaceAll(ToDisplayLines(text), "\n", kCrLf);
}
