#include "alerts/AlertMailComposer.h"

#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "alerts/EMailRecord.h"
#include "alerts/MailQueue.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "core/PriceText.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <exception>
#include <mutex>
#include <unordered_map>

namespace {

std::string Volume(double v) { return Trim(Format("%20.0n", {v})); }
std::string Whole(std::int32_t v) { return Trim(Format("%d", {v})); }

using ValueFn = std::string (*)(const TAlertRecord &, const AlertMailData &);

struct Placeholder {
  const char *Name;
  ValueFn Value;
};

// The placeholder table, in the order the e-mail page lists them.
const std::vector<Placeholder> &Table() {
  static const std::vector<Placeholder> table = {
      {"SYMBOL", [](const TAlertRecord &a, const AlertMailData &) { return a.Symbol; }},
      {"FULLDESC",
       [](const TAlertRecord &a, const AlertMailData &) { return a.FullDescription(false); }},
      {"SHORTDESC",
       [](const TAlertRecord &a, const AlertMailData &) { return a.ShortDescription(); }},
      {"ALERTTYPE",
       [](const TAlertRecord &a, const AlertMailData &) {
         const auto &names = AlertTypeNames();
         return a.AlertType < names.size() ? names[a.AlertType] : std::string();
       }},
      {"BID", [](const TAlertRecord &, const AlertMailData &d) { return PriceToStr(d.Quote.Bid); }},
      {"ASK", [](const TAlertRecord &, const AlertMailData &d) { return PriceToStr(d.Quote.Ask); }},
      {"LAST",
       [](const TAlertRecord &, const AlertMailData &d) { return PriceToStr(d.Quote.Last); }},
      {"CHANGE",
       [](const TAlertRecord &, const AlertMailData &d) { return PriceToStr(d.Quote.Change); }},
      {"HIGH",
       [](const TAlertRecord &, const AlertMailData &d) { return PriceToStr(d.Quote.High); }},
      {"LOW", [](const TAlertRecord &, const AlertMailData &d) { return PriceToStr(d.Quote.Low); }},
      {"VOL", [](const TAlertRecord &, const AlertMailData &d) { return Volume(d.Quote.Volume); }},
      {"DATE", [](const TAlertRecord &,
                  const AlertMailData &d) { return FormatDateTime("mmm dd, yyyy", d.MarketNow); }},
      {"TIME",
       [](const TAlertRecord &, const AlertMailData &d) {
         return FormatDateTime("hh:mm:ss AM/PM", d.MarketNow);
       }},
      {"BIDSIZE",
       [](const TAlertRecord &, const AlertMailData &d) { return Whole(d.Quote.BidSize); }},
      {"ASKSIZE",
       [](const TAlertRecord &, const AlertMailData &d) { return Whole(d.Quote.AskSize); }},
      {"LASTVOL",
       [](const TAlertRecord &, const AlertMailData &d) { return Whole(d.Quote.LastVolume); }},
      {"NUMTRADES",
       [](const TAlertRecord &, const AlertMailData &d) { return Whole(d.Quote.NumTrades); }},
      {"AVGTRADE",
       [](const TAlertRecord &, const AlertMailData &d) { return Whole(d.Quote.AvgTrade); }},
      {"COMPNAME", [](const TAlertRecord &, const AlertMailData &d) { return d.Fund.CompanyName; }},
      {"PREVCLOSE",
       [](const TAlertRecord &, const AlertMailData &d) { return PriceToStr(d.Fund.PrevClose); }},
      {"AVGVOL",
       [](const TAlertRecord &, const AlertMailData &d) { return Volume(d.Fund.AvgVolume); }},
      {"LOW52",
       [](const TAlertRecord &, const AlertMailData &d) { return PriceToStr(d.Fund.Low52); }},
      {"HIGH52",
       [](const TAlertRecord &, const AlertMailData &d) { return PriceToStr(d.Fund.High52); }},
      {"PE", [](const TAlertRecord &, const AlertMailData &d) { return FormatPrice(d.Fund.PE); }},
      {"EARN",
       [](const TAlertRecord &, const AlertMailData &d) { return FormatPrice(d.Fund.Earnings); }},
      {"DIV",
       [](const TAlertRecord &, const AlertMailData &d) { return FormatPrice(d.Fund.Dividend); }},
      {"YIELD",
       [](const TAlertRecord &, const AlertMailData &d) { return FormatPrice(d.Fund.Yield); }},
      {"CAP", [](const TAlertRecord &, const AlertMailData &d) { return d.Fund.MarketCap; }},
  };
  return table;
}

const std::unordered_map<std::string, ValueFn> &ByName() {
  static const std::unordered_map<std::string, ValueFn> map = [] {
    std::unordered_map<std::string, ValueFn> m;
    for (const Placeholder &p : Table())
      m.emplace(p.Name, p.Value);
    return m;
  }();
  return map;
}

std::mutex g_sinkMutex;
AlertMailSink g_sink;

} // namespace

const std::vector<std::string> &AlertPlaceholderNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (const Placeholder &p : Table())
      n.emplace_back(p.Name);
    return n;
  }();
  return names;
}

std::string AlertPlaceholderValue(const std::string &name, const TAlertRecord &alert,
                                  const AlertMailData &data) {
  const auto &map = ByName();
  auto found = map.find(name);
  return found == map.end() ? std::string() : found->second(alert, data);
}

std::string
SubstituteAlertPlaceholders(const std::string &text,
                            const std::function<std::string(const std::string &name)> &valueOf) {
  std::string out = text;
  std::size_t open = std::string::npos; // the most recent "<"
  std::size_t i = 0;
  while (i < out.size()) {
    if (out[i] == '<') {
      open = i;
    } else if (out[i] == '>' && open != std::string::npos) {
      const std::string value = valueOf(UpperCase(out.substr(open + 1, i - open - 1)));
      if (!value.empty()) {
        out.replace(open, i - open + 1, value);
        i = open + value.size();
        continue;
      }
    }
    ++i;
  }
  return out;
}

void SetAlertMailSink(AlertMailSink sink) {
  std::lock_guard<std::mutex> lock(g_sinkMutex);
  g_sink = std::move(sink);
}

bool ComposeAlertMail(const TAlertRecord &alert) {
  try {
    const EMailRecord *setup = EMailSetups().FindByID(alert.EMailSetupID);
    AlertMail mail;
    std::string subject = setup ? setup->Subject : std::string();
    const std::string body = setup ? setup->Body : std::string();
    if (subject.empty() && body.empty())
      return false;
    if (subject.empty())
      subject = "<None>";

    AlertMailData data;
    GetLast1(alert.Symbol, data.Quote);
    GetFund(alert.Symbol, data.Fund);
    data.MarketNow = UtcToEastern(AppClock().NowUtc());
    const auto valueOf = [&](const std::string &name) {
      return AlertPlaceholderValue(name, alert, data);
    };
    mail.Sender = GetMailSettings().FromAddress;
    mail.SendTo = setup->SendTo;
    mail.Subject = SubstituteAlertPlaceholders(subject, valueOf);
    mail.Body = SubstituteAlertPlaceholders(body, valueOf);
    mail.AlertID = alert.ID;

    AlertMailSink sink;
    {
      std::lock_guard<std::mutex> lock(g_sinkMutex);
      sink = g_sink;
    }
    if (sink) {
      sink(mail);
      return true;
    }
    return QueueAlertMail(1, mail.Sender, mail.SendTo, mail.Subject, mail.Body, mail.AlertID);
  } catch (const std::exception &e) {
    WriteLog(std::string("ComposeAlertMail Error: ") + e.what(), 0);
  } catch (...) {
    WriteLog("ComposeAlertMail Error: unknown exception", 0);
  }
  return false;
}
